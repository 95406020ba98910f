#include "platform/ui/qt/QtLook.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

namespace morvane::ui::look {

namespace {

// 9.75 pt at 96 dpi, and 8 pt (the classic dialog size) at 96 dpi.
constexpr int kCommonPixelSize = 13;
constexpr int kDialogPixelSize = 11;

// The windows were drawn for MS Sans Serif; the others are near it and carry Cyrillic.
QString family() {
    static const QString chosen = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate : {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}) {
            if (installed.contains(QString::fromLatin1(candidate), Qt::CaseInsensitive)) {
                return QString::fromLatin1(candidate);
            }
        }
        return QFont().defaultFamily();
    }();
    return chosen;
}

QFont sized(int pixelSize, QFont::Weight weight) {
    QFont font(family());
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Every role set explicitly, so nothing is inherited from the black window around the control.
QPalette explicitPalette(const QPalette& source) {
    QPalette result;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            result.setBrush(g, r, source.brush(g, r));
        }
    }
    return result;
}

QPalette standardPalette() {
    return explicitPalette(QApplication::palette());
}

// White on black; Base and Text stay standard, so the tick square keeps its usual colours.
QPalette commonPalette() {
    QPalette palette = standardPalette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    return palette;
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(const QColor& colour) {
    auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr double kReadableContrast = 4.5;

// The first of twenty steps from `disabled` to `enabled` that reads on `background`.
QColor readableOn(const QColor& background, const QColor& disabled, const QColor& enabled) {
    constexpr int kSteps = 20;
    for (int step = 0; step < kSteps; ++step) {
        auto mix = [step](int from, int to) { return from + (to - from) * step / kSteps; };
        const QColor mixed(mix(disabled.red(), enabled.red()),
                           mix(disabled.green(), enabled.green()),
                           mix(disabled.blue(), enabled.blue()));
        if (contrast(mixed, background) >= kReadableContrast)
            return mixed;
    }
    return enabled;
}

}  // namespace

QPalette withReadableDisabledText(QPalette palette) {
    using P = QPalette;
    for (const auto& [text, background] :
         {std::pair{P::Text, P::Base}, {P::WindowText, P::Window}, {P::ButtonText, P::Button}}) {
        palette.setColor(
            P::Disabled, text,
            readableOn(palette.color(P::Disabled, background), palette.color(P::Disabled, text),
                       palette.color(P::Active, text)));
    }
    return palette;
}

int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QFont commonFont() {
    return sized(kCommonPixelSize, QFont::Bold);
}

QFont dialogFont() {
    return sized(kDialogPixelSize, QFont::Normal);
}

void apply(QWidget& widget, Look look) {
    switch (look) {
        case Look::Common: {
            QPalette palette = commonPalette();
            widget.setPalette(palette);
            widget.setFont(commonFont());
            // Buttons, check boxes among them, fill with the Button role otherwise.
            widget.setBackgroundRole(QPalette::Window);
            widget.setAutoFillBackground(true);
            break;
        }
        case Look::Standard:
            widget.setPalette(standardPalette());
            widget.setFont(dialogFont());
            break;
        case Look::StatusBox: {
            QPalette palette = standardPalette();
            palette.setColor(QPalette::Window, Qt::black);
            widget.setPalette(palette);
            widget.setFont(dialogFont());
            widget.setBackgroundRole(QPalette::Window);
            widget.setAutoFillBackground(true);
            break;
        }
        case Look::Highlight: {
            QPalette palette = commonPalette();
            palette.setBrush(QPalette::WindowText, standardPalette().highlightedText());
            widget.setPalette(palette);
            widget.setFont(commonFont());
            widget.setAutoFillBackground(false);
            break;
        }
    }
}

void applyWindowBackground(QWidget& window) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

}  // namespace morvane::ui::look
