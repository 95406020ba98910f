#include "BmpWriter.h"

#include "LittleEndian.h"

namespace morvane::pictures {

namespace {
constexpr quint32 kFileHeaderSize = 14;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kBiRgb = 0;
constexpr qint32 kPixelsPerMetre = 3780;  // 96 dots per inch
}  // namespace

QByteArray encodeBmp32(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<quint32>(rgb.width());
    const auto height = static_cast<quint32>(rgb.height());
    const quint32 pixelBytes = width * height * 4;  // 32-bit rows never need padding
    const quint32 pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(pixelOffset + pixelBytes));
    LittleEndian le(out);

    // BITMAPFILEHEADER
    le.bytes("BM");
    le.u32(pixelOffset + pixelBytes);
    le.u16(0);
    le.u16(0);
    le.u32(pixelOffset);

    // BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    le.u32(kInfoHeaderSize);
    le.i32(static_cast<qint32>(width));
    le.i32(static_cast<qint32>(height));
    le.u16(1);   // planes
    le.u16(32);  // bits per pixel
    le.u32(kBiRgb);
    le.u32(pixelBytes);
    le.i32(kPixelsPerMetre);
    le.i32(kPixelsPerMetre);
    le.u32(0);  // colours used: no palette
    le.u32(0);  // important colours: all

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            le.u8(static_cast<quint8>(qBlue(line[x])));
            le.u8(static_cast<quint8>(qGreen(line[x])));
            le.u8(static_cast<quint8>(qRed(line[x])));
            le.u8(255);
        }
    }
    return out;
}

}  // namespace morvane::pictures
