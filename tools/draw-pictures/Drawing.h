#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

namespace morvane::pictures {

// A font of the given family at a pixel size. Throws std::runtime_error when the family is
// not installed, since a silent substitute would change the committed pictures.
QFont pictureFont(const QString& family, int pixelSize, bool bold);

// Outline of `text` with its baseline starting at `origin`.
QPainterPath textPath(const QFont& font, const QPointF& origin, const QString& text);

// Blurs an ARGB32_Premultiplied image in place: three box passes, near enough a Gaussian.
void blur(QImage& image, int radius);

}  // namespace morvane::pictures
