#pragma once

#include <QByteArray>
#include <QImage>

namespace morvane::pictures {

// An uncompressed 32-bit Windows bitmap: BITMAPFILEHEADER, BITMAPINFOHEADER (BI_RGB),
// rows bottom-up, each pixel B, G, R and a fourth byte of 255. The old picture controls
// ignore the fourth byte; writing 255 keeps viewers that read it as alpha from showing
// the picture as transparent.
QByteArray encodeBmp32(const QImage& image);

}  // namespace morvane::pictures
