#include "IcoWriter.h"

#include "LittleEndian.h"

#include <limits>

namespace morvane::pictures {

namespace {
constexpr quint32 kDirSize = 6;
constexpr quint32 kEntrySize = 16;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kPaletteBytes = 16 * 4;

// Bitmap rows are padded to whole 32-bit words.
quint32 rowBytes(quint32 width, quint32 bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

bool transparentAt(const QImage& argb, int x, int y) {
    return qAlpha(argb.pixel(x, y)) < 128;
}
}  // namespace

const std::array<QRgb, 16>& vgaPalette() {
    static const std::array<QRgb, 16> palette = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00),
        qRgb(0x80, 0x80, 0x00), qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80),
        qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0), qRgb(0x80, 0x80, 0x80),
        qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
        qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF),
        qRgb(0xFF, 0xFF, 0xFF),
    };
    return palette;
}

int nearestVgaIndex(QRgb colour) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    const auto& palette = vgaPalette();
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        const int dr = qRed(colour) - qRed(palette[i]);
        const int dg = qGreen(colour) - qGreen(palette[i]);
        const int db = qBlue(colour) - qBlue(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

QByteArray encodeIco16(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const auto width = static_cast<quint32>(argb.width());
    const auto height = static_cast<quint32>(argb.height());
    Q_ASSERT(width >= 1 && width <= 256 && height >= 1 && height <= 256);

    const quint32 xorBytes = rowBytes(width, 4) * height;
    const quint32 andBytes = rowBytes(width, 1) * height;
    const quint32 imageBytes = kInfoHeaderSize + kPaletteBytes + xorBytes + andBytes;

    QByteArray out;
    LittleEndian le(out);

    // ICONDIR
    le.u16(0);
    le.u16(1);  // type: icon
    le.u16(1);  // one image

    // ICONDIRENTRY; 0 in a size byte means 256.
    le.u8(static_cast<quint8>(width & 0xFFu));
    le.u8(static_cast<quint8>(height & 0xFFu));
    le.u8(16);  // colours
    le.u8(0);
    le.u16(1);  // planes
    le.u16(4);  // bits per pixel
    le.u32(imageBytes);
    le.u32(kDirSize + kEntrySize);

    // BITMAPINFOHEADER: the height counts the colour bitmap and the mask together.
    le.u32(kInfoHeaderSize);
    le.i32(static_cast<qint32>(width));
    le.i32(static_cast<qint32>(height * 2));
    le.u16(1);
    le.u16(4);
    le.u32(0);  // BI_RGB
    le.u32(xorBytes + andBytes);
    le.i32(0);
    le.i32(0);
    le.u32(16);
    le.u32(0);

    for (QRgb c : vgaPalette()) {
        le.u8(static_cast<quint8>(qBlue(c)));
        le.u8(static_cast<quint8>(qGreen(c)));
        le.u8(static_cast<quint8>(qRed(c)));
        le.u8(0);
    }

    // Colour bitmap, bottom-up, two pixels a byte with the left one in the high nibble.
    // Transparent pixels carry colour 0 so that AND then XOR leaves the screen unchanged.
    for (int y = argb.height() - 1; y >= 0; --y) {
        QByteArray row(static_cast<qsizetype>(rowBytes(width, 4)), '\0');
        for (int x = 0; x < argb.width(); ++x) {
            const int index = transparentAt(argb, x, y) ? 0 : nearestVgaIndex(argb.pixel(x, y));
            const int shift = (x % 2 == 0) ? 4 : 0;
            row[x / 2] = static_cast<char>(static_cast<quint8>(row[x / 2]) | (index << shift));
        }
        out.append(row);
    }

    // AND mask, bottom-up, most significant bit first; a set bit keeps the screen pixel.
    for (int y = argb.height() - 1; y >= 0; --y) {
        QByteArray row(static_cast<qsizetype>(rowBytes(width, 1)), '\0');
        for (int x = 0; x < argb.width(); ++x) {
            if (transparentAt(argb, x, y)) {
                row[x / 8] = static_cast<char>(static_cast<quint8>(row[x / 8]) | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

}  // namespace morvane::pictures
