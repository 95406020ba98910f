#include "Drawing.h"
#include "Pictures.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

namespace morvane::pictures {

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Designed on a 32-pixel grid; every other size is the same drawing scaled, so the shapes
    // stay outlines and gradients down to the last pixel rather than a resampled bitmap.
    p.scale(size / double(kIconSize), size / double(kIconSize));

    // The shadow the letters stand on: a flat oval under their feet.
    const QRectF oval(0, 21, 32, 10);
    QRadialGradient shade(oval.center(), oval.width() / 2);
    shade.setColorAt(0.0, QColor(0xD8, 0xD8, 0xD8));
    shade.setColorAt(0.7, QColor(0xC0, 0xC0, 0xC0));
    shade.setColorAt(1.0, QColor(0x90, 0x90, 0x90));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(oval);

    // The letters' ink is stretched onto a fixed box so they fill the icon above the oval
    // and their feet rest a little below its middle, whatever the font's own proportions.
    const QFont font = pictureFont(QStringLiteral("Liberation Sans Narrow"), 28, true);
    const QPainterPath letters = textPath(font, QPointF(0, 0), QStringLiteral("CS"));
    const QRectF ink = letters.boundingRect();
    const QRectF box(1.5, 3, 29, oval.center().y() + 1 - 3);
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / ink.width(), box.height() / ink.height());
    fit.translate(-ink.left(), -ink.top());
    p.fillPath(fit.map(letters), Qt::black);
    return image;
}

QImage iconPreview(const QImage& icon, QRgb backdrop) {
    QImage out(icon.size(), QImage::Format_RGB32);
    out.fill(backdrop);
    QPainter p(&out);
    p.drawImage(0, 0, icon);
    return out;
}

}  // namespace morvane::pictures
