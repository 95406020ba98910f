#include "IcoWriter.h"

#include "LittleEndian.h"

#include <QBuffer>

#include <limits>
#include <vector>

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

void writeDir(LittleEndian& le, int imageCount) {
    le.u16(0);
    le.u16(1);  // type: icon
    le.u16(static_cast<quint16>(imageCount));
}

// ICONDIRENTRY; 0 in a size byte means 256, and 0 colours means more than 256.
void writeEntry(LittleEndian& le, const QImage& image, quint8 colours, quint16 bitsPerPixel,
                quint32 bytes, quint32 offset) {
    le.u8(static_cast<quint8>(image.width() & 0xFF));
    le.u8(static_cast<quint8>(image.height() & 0xFF));
    le.u8(colours);
    le.u8(0);
    le.u16(1);  // planes
    le.u16(bitsPerPixel);
    le.u32(bytes);
    le.u32(offset);
}

// BITMAPINFOHEADER: the height counts the colour bitmap and the mask together.
void writeInfoHeader(LittleEndian& le, const QImage& image, quint16 bitsPerPixel,
                     quint32 pixelBytes, quint32 paletteColours) {
    le.u32(kInfoHeaderSize);
    le.i32(image.width());
    le.i32(image.height() * 2);
    le.u16(1);
    le.u16(bitsPerPixel);
    le.u32(0);  // BI_RGB
    le.u32(pixelBytes);
    le.i32(0);
    le.i32(0);
    le.u32(paletteColours);
    le.u32(0);
}

quint32 andMaskBytes(const QImage& image) {
    return rowBytes(static_cast<quint32>(image.width()), 1) * static_cast<quint32>(image.height());
}

// AND mask, bottom-up, most significant bit first; a set bit keeps the screen pixel.
void writeAndMask(QByteArray& out, const QImage& argb) {
    for (int y = argb.height() - 1; y >= 0; --y) {
        QByteArray row(static_cast<qsizetype>(rowBytes(static_cast<quint32>(argb.width()), 1)),
                       '\0');
        for (int x = 0; x < argb.width(); ++x) {
            if (transparentAt(argb, x, y)) {
                row[x / 8] = static_cast<char>(static_cast<quint8>(row[x / 8]) | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
}

// One image of a full-colour icon, as it is stored after the directory.
QByteArray fullColourImage(const QImage& argb) {
    QByteArray out;
    if (argb.width() == 256) {
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        argb.save(&buffer, "PNG");
        return out;
    }
    const quint32 pixelBytes =
        static_cast<quint32>(argb.width()) * static_cast<quint32>(argb.height()) * 4;
    LittleEndian le(out);
    writeInfoHeader(le, argb, 32, pixelBytes + andMaskBytes(argb), 0);
    for (int y = argb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            le.u8(static_cast<quint8>(qBlue(line[x])));
            le.u8(static_cast<quint8>(qGreen(line[x])));
            le.u8(static_cast<quint8>(qRed(line[x])));
            le.u8(static_cast<quint8>(qAlpha(line[x])));
        }
    }
    writeAndMask(out, argb);
    return out;
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
    const quint32 andBytes = andMaskBytes(argb);
    const quint32 imageBytes = kInfoHeaderSize + kPaletteBytes + xorBytes + andBytes;

    QByteArray out;
    LittleEndian le(out);
    writeDir(le, 1);
    writeEntry(le, argb, 16, 4, imageBytes, kDirSize + kEntrySize);
    writeInfoHeader(le, argb, 4, xorBytes + andBytes, 16);

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
    writeAndMask(out, argb);
    return out;
}

QByteArray encodeIcoFullColour(std::span<const QImage> images) {
    std::vector<QImage> argb;
    std::vector<QByteArray> stored;
    for (const QImage& image : images) {
        Q_ASSERT(image.width() == image.height() && image.width() >= 1 && image.width() <= 256);
        argb.push_back(image.convertToFormat(QImage::Format_ARGB32));
        stored.push_back(fullColourImage(argb.back()));
    }
    QByteArray out;
    LittleEndian le(out);
    writeDir(le, static_cast<int>(images.size()));
    auto offset = static_cast<quint32>(kDirSize + kEntrySize * images.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto bytes = static_cast<quint32>(stored[i].size());
        writeEntry(le, argb[i], 0, 32, bytes, offset);
        offset += bytes;
    }
    for (const QByteArray& image : stored) {
        out.append(image);
    }
    return out;
}

}  // namespace morvane::pictures
