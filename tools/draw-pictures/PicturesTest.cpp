// Checks the encoders byte for byte and through Qt's own decoders, and checks the pictures
// compiled into the program: that they are there, at their sizes, and look as described.

#include "BmpWriter.h"
#include "IcoWriter.h"
#include "Pictures.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvane::pictures {
namespace {

quint16 u16At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
qint32 i32At(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<qint32>(b.constData() + at);
}

int brightness(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c);
}

// Every pixel different, and no symmetry, so a flipped row order, a swapped channel or an
// off-by-one column all show.
QImage distinctPixels(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(10 + 40 * x, 20 + 50 * y, 200 - 30 * x - 7 * y));
        }
    }
    return image;
}

TEST(BmpWriter, WritesUncompressed32BitBottomUpWithOpaqueFourthByte) {
    const QImage image = distinctPixels(3, 2);
    const QByteArray bmp = encodeBmp32(image);

    ASSERT_EQ(bmp.size(), 14 + 40 + 3 * 2 * 4);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(u32At(bmp, 2), static_cast<quint32>(bmp.size()));
    EXPECT_EQ(u32At(bmp, 10), 54u);  // pixel data offset
    EXPECT_EQ(u32At(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(i32At(bmp, 18), 3);
    EXPECT_EQ(i32At(bmp, 22), 2);  // positive: bottom-up
    EXPECT_EQ(u16At(bmp, 26), 1u);
    EXPECT_EQ(u16At(bmp, 28), 32u);
    EXPECT_EQ(u32At(bmp, 30), 0u);  // BI_RGB
    EXPECT_EQ(u32At(bmp, 46), 0u);  // no palette

    // The first stored pixel is the bottom-left one, as B, G, R, 255.
    const QRgb bottomLeft = image.pixel(0, 1);
    EXPECT_EQ(static_cast<quint8>(bmp[54]), qBlue(bottomLeft));
    EXPECT_EQ(static_cast<quint8>(bmp[55]), qGreen(bottomLeft));
    EXPECT_EQ(static_cast<quint8>(bmp[56]), qRed(bottomLeft));
    EXPECT_EQ(static_cast<quint8>(bmp[57]), 255);
}

TEST(BmpWriter, QtDecodesEveryPixelBack) {
    const QImage image = distinctPixels(5, 4);
    const QImage back = QImage::fromData(encodeBmp32(image), "BMP");
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_EQ(back.pixel(x, y) | 0xFF000000u, image.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(IcoWriter, LaysOutOne16ColourImageWithBothMasks) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QByteArray ico = encodeIco16(image);

    const quint32 xorBytes = 16 * 32;  // 32 pixels at 4 bits: 16 bytes a row
    const quint32 andBytes = 4 * 32;   // 32 bits: 4 bytes a row
    const quint32 imageBytes = 40 + 16 * 4 + xorBytes + andBytes;
    ASSERT_EQ(static_cast<quint32>(ico.size()), 6 + 16 + imageBytes);
    EXPECT_EQ(u16At(ico, 0), 0u);
    EXPECT_EQ(u16At(ico, 2), 1u);  // icon
    EXPECT_EQ(u16At(ico, 4), 1u);  // one image
    EXPECT_EQ(static_cast<quint8>(ico[6]), 32);
    EXPECT_EQ(static_cast<quint8>(ico[7]), 32);
    EXPECT_EQ(static_cast<quint8>(ico[8]), 16);
    EXPECT_EQ(u16At(ico, 12), 4u);
    EXPECT_EQ(u32At(ico, 14), imageBytes);
    EXPECT_EQ(u32At(ico, 18), 22u);
    EXPECT_EQ(u32At(ico, 22), 40u);
    EXPECT_EQ(i32At(ico, 26), 32);
    EXPECT_EQ(i32At(ico, 30), 64);  // colour bitmap and mask together
    EXPECT_EQ(u16At(ico, 36), 4u);
    // Palette entry 7 is VGA silver, stored B, G, R, 0.
    EXPECT_EQ(u32At(ico, 62 + 7 * 4), 0x00C0C0C0u);
    EXPECT_EQ(u32At(ico, 62 + 12 * 4), 0x000000FFu);  // entry 12: blue

    // All transparent: colour bitmap all zero, mask all ones.
    const QByteArray pixels = ico.mid(22 + 40 + 64, xorBytes);
    const QByteArray mask = ico.mid(22 + 40 + 64 + xorBytes, andBytes);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](char c) { return c == 0; }));
    EXPECT_TRUE(std::all_of(mask.begin(), mask.end(), [](char c) { return c == '\xFF'; }));
}

TEST(IcoWriter, QtDecodesColoursAndTransparencyBack) {
    // Odd and even columns and rows, so nibble order, bit order and row order all show;
    // off-palette colours snap to their nearest VGA neighbour.
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(0xFF, 0, 0));
    image.setPixel(2, 31, qRgb(0xC8, 0xC8, 0xC8));   // near silver, not white
    image.setPixel(31, 31, qRgb(0x10, 0x10, 0x90));  // near navy
    image.setPixel(9, 5, qRgba(0xFF, 0xFF, 0xFF, 200));
    image.setPixel(10, 5, qRgba(0xFF, 0xFF, 0xFF, 100));  // mostly transparent: dropped

    const QImage back =
        QImage::fromData(encodeIco16(image), "ICO").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), QSize(32, 32));
    EXPECT_EQ(back.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(1, 0), qRgb(0xFF, 0, 0));
    EXPECT_EQ(back.pixel(2, 31), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(back.pixel(31, 31), qRgb(0, 0, 0x80));
    EXPECT_EQ(back.pixel(9, 5), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(qAlpha(back.pixel(10, 5)), 0);
    EXPECT_EQ(qAlpha(back.pixel(2, 0)), 0);
    EXPECT_EQ(qAlpha(back.pixel(0, 31)), 0);
}

TEST(IcoWriter, FullColourKeepsEverySizeInOrderWithItsAlpha) {
    std::vector<QImage> images;
    for (const int size : {16, 48, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        image.setPixel(1, 0, qRgba(0x20, 0x40, 0x60, 0xFF));
        image.setPixel(size - 1, size - 2, qRgba(0x90, 0x10, 0x30, 0xC0));
        images.push_back(image);
    }
    const QByteArray ico = encodeIcoFullColour(images);
    EXPECT_EQ(u16At(ico, 2), 1u);
    ASSERT_EQ(u16At(ico, 4), images.size());

    QBuffer buffer(const_cast<QByteArray*>(&ico));
    QImageReader reader(&buffer, "ICO");
    ASSERT_EQ(reader.imageCount(), static_cast<int>(images.size()));
    quint32 expectedOffset = 6 + 16 * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        SCOPED_TRACE(size);
        const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
        EXPECT_EQ(static_cast<quint8>(ico[entry]), size & 0xFF);  // 0 stands for 256
        EXPECT_EQ(u16At(ico, entry + 6), 32u);
        EXPECT_EQ(u32At(ico, entry + 12), expectedOffset);  // images follow one another
        const QByteArray stored = ico.mid(expectedOffset, u32At(ico, entry + 8));
        EXPECT_EQ(stored.startsWith("\x89PNG"), size == 256);
        expectedOffset += u32At(ico, entry + 8);

        ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i)));
        const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(back.size(), QSize(size, size));
        EXPECT_EQ(back.pixel(1, 0), qRgba(0x20, 0x40, 0x60, 0xFF));
        // Half-transparent: the alpha exactly, the colour within the decoder's rounding.
        const QRgb half = back.pixel(size - 1, size - 2);
        EXPECT_EQ(qAlpha(half), 0xC0);
        EXPECT_NEAR(qRed(half), 0x90, 1);
        EXPECT_NEAR(qGreen(half), 0x10, 1);
        EXPECT_NEAR(qBlue(half), 0x30, 1);
        EXPECT_EQ(qAlpha(back.pixel(0, size - 1)), 0);
    }
    EXPECT_EQ(static_cast<quint32>(ico.size()), expectedOffset);
}

// --- The desktop icons, committed beside the sources ---

QString iconFile(const QString& name) {
    return QStringLiteral(MORVANE_RESOURCES_DIR "/icons/") + name;
}

// The design at any size: black letters standing on a grey oval, the corners see-through.
void expectIconDesign(const QImage& icon) {
    const int size = icon.width();
    ASSERT_EQ(icon.size(), QSize(size, size));
    for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0)}) {
        EXPECT_EQ(qAlpha(icon.pixel(corner)), 0);
    }
    int black = 0, grey = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb c = icon.pixel(x, y);
            if (qAlpha(c) < 250) {
                continue;
            }
            black += brightness(c) < 60 ? 1 : 0;
            grey += (brightness(c) > 400 && qRed(c) == qBlue(c)) ? 1 : 0;
        }
    }
    EXPECT_GT(black, size * size / 10);
    EXPECT_GT(grey, size * size / 32);
    // The oval lies below the letters' middle: the top row is bare.
    for (int x = 0; x < size; ++x) {
        EXPECT_LT(qAlpha(icon.pixel(x, 0)), 250) << x;
    }
}

TEST(DesktopIcons, EverySizeAndTheProgramIconShowTheDesign) {
    for (const int size : kDesktopIconSizes) {
        SCOPED_TRACE(size);
        QImage png(iconFile(QStringLiteral("morvane-%1.png").arg(size)));
        expectIconDesign(png.convertToFormat(QImage::Format_ARGB32));
    }
    QImageReader reader(iconFile(QStringLiteral("morvane-program.ico")));
    ASSERT_EQ(reader.imageCount(), static_cast<int>(kProgramIconSizes.size()));
    for (std::size_t i = 0; i < kProgramIconSizes.size(); ++i) {
        SCOPED_TRACE(kProgramIconSizes[i]);
        ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i)));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage png(iconFile(QStringLiteral("morvane-%1.png").arg(kProgramIconSizes[i])));
        EXPECT_EQ(image, png.convertToFormat(QImage::Format_ARGB32));
    }
}

// --- The pictures compiled into the program ---

QImage resource(const char* name) {
    return QImage(QStringLiteral(":/pictures/") + QString::fromLatin1(name));
}

bool isBlack(QRgb c) {
    return (c & 0x00FFFFFFu) == 0;
}

TEST(EmbeddedPictures, EveryFileLoadsAtItsSize) {
    for (const FaceWord& face : faceWords()) {
        for (const char* state : {"-normal.bmp", "-hover.bmp"}) {
            const QByteArray name = QByteArray(face.fileStem) + state;
            EXPECT_EQ(resource(name.constData()).size(), QSize(kFaceWidth, kFaceHeight))
                << name.constData();
        }
    }
    EXPECT_EQ(resource("banner.bmp").size(), QSize(kBannerWidth, kBannerHeight));
    EXPECT_EQ(resource("morvane.ico").size(), QSize(kIconSize, kIconSize));
}

TEST(EmbeddedPictures, FacesAreBlueBarsLitInTheMiddleOrAtTheEdges) {
    for (const FaceWord& face : faceWords()) {
        SCOPED_TRACE(face.fileStem);
        const QImage normal = resource((QByteArray(face.fileStem) + "-normal.bmp").constData());
        const QImage hover = resource((QByteArray(face.fileStem) + "-hover.bmp").constData());
        ASSERT_FALSE(normal.isNull());
        ASSERT_FALSE(hover.isNull());

        // Outside the rounded ends the window's black shows.
        for (const QImage* img : {&normal, &hover}) {
            EXPECT_TRUE(isBlack(img->pixel(0, 0)));
            EXPECT_TRUE(isBlack(img->pixel(kFaceWidth - 1, kFaceHeight - 1)));
        }
        // Sampled left of the word, where only the bar is.
        const int x = 14;
        const QRgb normalTop = normal.pixel(x, 3), normalMiddle = normal.pixel(x, 17);
        const QRgb hoverTop = hover.pixel(x, 3), hoverMiddle = hover.pixel(x, 17);
        EXPECT_GT(brightness(normalMiddle), brightness(normalTop) + 120);
        EXPECT_LT(brightness(hoverMiddle) + 120, brightness(hoverTop));
        for (QRgb c : {normalTop, normalMiddle, hoverTop, hoverMiddle}) {
            EXPECT_GT(qBlue(c), qRed(c));
        }
        // The word: white letters in the middle of the bar, the same on both faces.
        int white = 0;
        for (int y = 8; y < 28; ++y) {
            for (int xx = 30; xx < 90; ++xx) {
                white += brightness(normal.pixel(xx, y)) > 740 ? 1 : 0;
                EXPECT_EQ(brightness(normal.pixel(xx, y)) > 740,
                          brightness(hover.pixel(xx, y)) > 740);
            }
        }
        EXPECT_GT(white, 80);
    }
}

TEST(EmbeddedPictures, BannerIsRedOnBlackAndLeavesTheLabelStripClear) {
    const QImage banner = resource("banner.bmp");
    ASSERT_FALSE(banner.isNull());
    int red = 0;
    for (int y = 0; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x) {
            const QRgb c = banner.pixel(x, y);
            EXPECT_GE(qRed(c), std::max(qGreen(c), qBlue(c))) << x << "," << y;
            red += qRed(c) > 180 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 3000);
    // The start window draws its "Сайты разработчиков:" label from y = 128 down.
    for (int y = 126; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x) {
            ASSERT_TRUE(isBlack(banner.pixel(x, y))) << x << "," << y;
        }
    }
}

TEST(EmbeddedPictures, IconIsBlackLettersOnGreyWithATransparentSurround) {
    const QImage icon = resource("morvane.ico").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(kIconSize - 1, 0)), 0);
    int black = 0, grey = 0;
    const auto& palette = vgaPalette();
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb c = icon.pixel(x, y);
            if (qAlpha(c) == 0) {
                continue;
            }
            EXPECT_NE(std::find(palette.begin(), palette.end(), c), palette.end());
            black += c == qRgb(0, 0, 0) ? 1 : 0;
            grey += c == qRgb(0xC0, 0xC0, 0xC0) ? 1 : 0;
        }
    }
    EXPECT_GT(black, 100);
    EXPECT_GT(grey, 40);
}

}  // namespace
}  // namespace morvane::pictures

int main(int argc, char** argv) {
    // The icon decoder is a plugin, which wants an application object; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
