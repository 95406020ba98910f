#include "Drawing.h"

#include <QFontInfo>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace morvane::pictures {

QFont pictureFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    if (QFontInfo(font).family() != family) {
        throw std::runtime_error("font not available: " + family.toStdString());
    }
    return font;
}

QPainterPath textPath(const QFont& font, const QPointF& origin, const QString& text) {
    QPainterPath path;
    path.addText(origin, font, text);
    return path;
}

namespace {

// One horizontal box pass over the four premultiplied channels, clamped at the edges.
void boxPassRows(QImage& image, int radius) {
    const int w = image.width();
    std::vector<int> sums(static_cast<size_t>(w) * 4);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int a = 0, r = 0, g = 0, b = 0;
            for (int k = -radius; k <= radius; ++k) {
                const QRgb p = line[std::clamp(x + k, 0, w - 1)];
                a += qAlpha(p);
                r += qRed(p);
                g += qGreen(p);
                b += qBlue(p);
            }
            const auto i = static_cast<size_t>(x) * 4;
            sums[i] = a;
            sums[i + 1] = r;
            sums[i + 2] = g;
            sums[i + 3] = b;
        }
        const int n = 2 * radius + 1;
        for (int x = 0; x < w; ++x) {
            const auto i = static_cast<size_t>(x) * 4;
            line[x] = qRgba(sums[i + 1] / n, sums[i + 2] / n, sums[i + 3] / n, sums[i] / n);
        }
    }
}

QImage transposed(const QImage& image) {
    QImage out(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            reinterpret_cast<QRgb*>(out.scanLine(x))[y] = line[x];
        }
    }
    return out;
}

}  // namespace

void blur(QImage& image, int radius) {
    if (radius <= 0) {
        return;
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxPassRows(image, radius);
    }
    QImage columns = transposed(image);
    for (int pass = 0; pass < 3; ++pass) {
        boxPassRows(columns, radius);
    }
    image = transposed(columns);
}

}  // namespace morvane::pictures
