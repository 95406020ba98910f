#pragma once

#include <QByteArray>
#include <QImage>

#include <array>
#include <span>

namespace morvane::pictures {

// The standard 16-colour VGA palette in its Windows order.
const std::array<QRgb, 16>& vgaPalette();

// Index of the palette colour nearest to `colour` (alpha ignored).
int nearestVgaIndex(QRgb colour);

// A one-image icon file of 16 colours: ICONDIR, ICONDIRENTRY, BITMAPINFOHEADER with the
// height doubled for the two masks, the VGA palette, the 4-bit colour bitmap and the
// 1-bit AND mask. Pixels with alpha below 128 become transparent (AND bit set, colour 0);
// every other pixel takes the nearest palette colour. Width and height must be at most 256.
QByteArray encodeIco16(const QImage& image);

// A several-image icon file in full colour, for the program file, its shortcuts and its
// installer on Windows. Each image is a 32-bit BGRA bitmap whose alpha Windows blends with,
// plus an AND mask (alpha below 128) for readers that know only masks; a 256-pixel image is
// stored as PNG instead, as Windows expects at that size and to keep the file small. Images
// are square, at most 256 pixels, listed in the order given.
QByteArray encodeIcoFullColour(std::span<const QImage> images);

}  // namespace morvane::pictures
