#include "Drawing.h"
#include "Pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace morvane::pictures {

namespace {

const QColor kGlow(0xE0, 0x00, 0x00);
const QColor kBrightRed(0xFF, 0x50, 0x40);
const QColor kDeepRed(0xC8, 0x00, 0x00);
const QColor kEdgeRed(0x28, 0x00, 0x00);
const QColor kSmallRed(0xFF, 0x30, 0x20);

// The start window draws its "Сайты разработчиков:" label from y = 128 on, over the
// banner; the subtitle stays above it.
constexpr qreal kSubtitleBaseline = 120;

// Largest pixel size, up to `preferred`, at which `text` fits in `width`.
QFont fittedFont(const QString& family, int preferred, bool bold, const QString& text,
                 qreal width) {
    for (int size = preferred; size > 6; --size) {
        const QFont font = pictureFont(family, size, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) {
            return font;
        }
    }
    return pictureFont(family, 6, bold);
}

// A red halo under the given outlines: the outlines, widened and blurred.
void paintGlow(QPainter& p, const QPainterPath& shapes, QSize size) {
    QImage glow(size, QImage::Format_ARGB32_Premultiplied);
    glow.fill(Qt::transparent);
    {
        QPainter g(&glow);
        g.setRenderHint(QPainter::Antialiasing);
        g.strokePath(shapes, QPen(kGlow, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.fillPath(shapes, kGlow);
    }
    blur(glow, 3);
    p.drawImage(0, 0, glow);
    p.drawImage(0, 0, glow);  // twice, for a stronger halo near the letters
}

// Large letters: a bright-to-deep red fill with a thin dark edge.
void paintLetters(QPainter& p, const QPainterPath& text) {
    const QRectF box = text.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, kBrightRed);
    fill.setColorAt(1.0, kDeepRed);
    p.strokePath(text, QPen(kEdgeRed, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(text, fill);
}

}  // namespace

QImage drawBanner() {
    QImage image(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QString sans = QStringLiteral("Liberation Sans");
    const QString title = QStringLiteral("Counter Strike");
    const QString name = QStringLiteral("Morvane");
    const QString version = QStringLiteral("v 0.1");
    const QString subtitle = QStringLiteral("Программа для удаления рекламы из Counter Strike");

    const QFont titleFont = fittedFont(sans, 38, true, title, kBannerWidth - 24);
    const qreal titleWidth = QFontMetricsF(titleFont).horizontalAdvance(title);
    const QPainterPath titlePath =
        textPath(titleFont, QPointF((kBannerWidth - titleWidth) / 2, 46), title);

    const QFont nameFont = pictureFont(sans, 44, true);
    const QFont versionFont = pictureFont(sans, 13, true);
    const qreal nameWidth = QFontMetricsF(nameFont).horizontalAdvance(name);
    const qreal versionWidth = QFontMetricsF(versionFont).horizontalAdvance(version);
    const qreal gap = 5;
    const qreal nameX = (kBannerWidth - nameWidth - gap - versionWidth) / 2;
    const qreal nameBaseline = 96;
    const QPainterPath namePath = textPath(nameFont, QPointF(nameX, nameBaseline), name);
    // The version mark sits at the foot of the name, like a subscript.
    const QPainterPath versionPath =
        textPath(versionFont, QPointF(nameX + nameWidth + gap, nameBaseline), version);

    const QFont subtitleFont = fittedFont(sans, 11, false, subtitle, kBannerWidth - 8);
    const qreal subtitleWidth = QFontMetricsF(subtitleFont).horizontalAdvance(subtitle);
    const QPainterPath subtitlePath = textPath(
        subtitleFont, QPointF((kBannerWidth - subtitleWidth) / 2, kSubtitleBaseline), subtitle);

    paintGlow(p, titlePath.united(namePath), image.size());
    paintLetters(p, titlePath);
    paintLetters(p, namePath);
    p.fillPath(versionPath, kSmallRed);
    p.fillPath(subtitlePath, kSmallRed);
    return image;
}

}  // namespace morvane::pictures
