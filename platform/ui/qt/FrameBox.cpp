#include "platform/ui/qt/FrameBox.h"

#include <QPainter>

namespace morvane::ui {

namespace {
constexpr int kCaptionIndent = 8;  // pixels from the left edge to the caption's gap
constexpr int kCaptionPadding = 2;
}  // namespace

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineTop = metrics.height() / 2;
    const QRect area = rect().adjusted(0, lineTop, -2, -2);
    // Etched: a shadow line with a highlight line one pixel down and to the right.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(area);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(area.translated(1, 1));

    const QString caption = title();
    if (caption.isEmpty())
        return;
    const int width = metrics.horizontalAdvance(caption) + 2 * kCaptionPadding;
    const QRect gap(kCaptionIndent, 0, width, metrics.height());
    painter.fillRect(gap, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(gap, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace morvane::ui
