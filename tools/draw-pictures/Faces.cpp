#include "Drawing.h"
#include "Pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace morvane::pictures {

namespace {

constexpr std::array<FaceWord, 4> kFaceWords = {{
    {"next", "Далее"},
    {"cancel", "Отмена"},
    {"find", "Найти"},
    {"remove", "Удалить"},
}};

// The two faces share these colours; the hover face swaps which one sits in the middle.
const QColor kLightAzure(0x8C, 0xD4, 0xFF);
const QColor kMidBlue(0x2E, 0x7F, 0xD6);
const QColor kDarkBlue(0x08, 0x2A, 0x78);
const QColor kRim(0x03, 0x14, 0x3C);
const QColor kOutline(0x02, 0x10, 0x30);

QLinearGradient barGradient(const QRectF& bar, FaceState state) {
    const bool normal = state == FaceState::Normal;
    const QColor& edge = normal ? kDarkBlue : kLightAzure;
    const QColor& middle = normal ? kLightAzure : kDarkBlue;
    QLinearGradient g(bar.topLeft(), bar.bottomLeft());
    g.setColorAt(0.0, edge);
    g.setColorAt(0.22, kMidBlue);
    g.setColorAt(0.40, middle);
    g.setColorAt(0.60, middle);
    g.setColorAt(0.78, kMidBlue);
    g.setColorAt(1.0, edge);
    return g;
}

}  // namespace

std::span<const FaceWord> faceWords() {
    return kFaceWords;
}

QImage drawFace(const QString& word, FaceState state) {
    QImage image(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Half-pixel inset so the rim's antialiased edge stays inside the picture.
    const QRectF bar(0.5, 0.5, kFaceWidth - 1.0, kFaceHeight - 1.0);
    const qreal radius = bar.height() / 2;
    QPainterPath barPath;
    barPath.addRoundedRect(bar, radius, radius);
    p.fillPath(barPath, barGradient(bar, state));
    p.strokePath(barPath, QPen(kRim, 1.0));

    const QFont font = pictureFont(QStringLiteral("Liberation Sans Narrow"), 20, true);
    const QFontMetricsF metrics(font);
    // Centre on the capitals rather than the ink box, so a descender (the tail of Д)
    // does not lift the word.
    const qreal baseline = bar.center().y() + metrics.capHeight() / 2;
    const qreal x = bar.center().x() - metrics.horizontalAdvance(word) / 2;
    const QPainterPath text = textPath(font, QPointF(x, baseline), word);
    p.strokePath(text, QPen(kOutline, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(text, Qt::white);
    return image;
}

}  // namespace morvane::pictures
