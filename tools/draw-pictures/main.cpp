// Draws the picture buttons' faces, the start window's banner and the window icon, and
// writes them as the bitmaps and icon file that resources/ embeds; and the same icon in full
// colour for the desktop: icons/morvane-N.png for each menu size and icons/morvane-program.ico
// for the program file on Windows.
//
//   morvane-draw-pictures OUTPUT_DIR [PREVIEW_DIR]
//
// PREVIEW_DIR, if given, receives icon.bmp: the icon as decoded back from morvane.ico,
// laid on white, for looking at with any bitmap viewer.

#include "BmpWriter.h"
#include "IcoWriter.h"
#include "Pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <exception>
#include <vector>

namespace {

using namespace morvane::pictures;

#ifndef MORVANE_PICTURE_FONT_DIR
#define MORVANE_PICTURE_FONT_DIR "/usr/share/fonts/truetype/liberation"
#endif

bool fail(const QString& message) {
    std::fprintf(stderr, "morvane-draw-pictures: %s\n", qPrintable(message));
    return false;
}

// Writes the bytes, then reads the file back through Qt's own decoder: what the windows
// will load must come out at the size it was drawn.
bool writeChecked(const QDir& dir, const QString& name, const QByteArray& bytes, QSize size) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        return fail(QStringLiteral("cannot write %1").arg(path));
    }
    file.close();
    QImage back;
    if (!back.load(path)) {
        return fail(QStringLiteral("Qt cannot read back %1").arg(path));
    }
    if (back.size() != size) {
        return fail(QStringLiteral("%1 reads back as %2x%3")
                        .arg(path)
                        .arg(back.width())
                        .arg(back.height()));
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return bytes;
}

bool drawDesktopIcons(const QDir& out) {
    if (!out.mkpath(QStringLiteral("icons"))) {
        return fail(QStringLiteral("cannot create %1").arg(out.filePath(QStringLiteral("icons"))));
    }
    const QDir icons(out.filePath(QStringLiteral("icons")));
    for (const int size : kDesktopIconSizes) {
        if (!writeChecked(icons, QStringLiteral("morvane-%1.png").arg(size),
                          encodePng(drawIcon(size)), QSize(size, size))) {
            return false;
        }
    }
    std::vector<QImage> program;
    for (const int size : kProgramIconSizes) {
        program.push_back(drawIcon(size));
    }
    return writeChecked(icons, QStringLiteral("morvane-program.ico"), encodeIcoFullColour(program),
                        program.front().size());
}

bool drawAll(const QDir& out, const QString& previewDir) {
    const QSize faceSize(kFaceWidth, kFaceHeight);
    for (const FaceWord& face : faceWords()) {
        const QString stem = QString::fromUtf8(face.fileStem);
        const QString word = QString::fromUtf8(face.word);
        if (!writeChecked(out, stem + QStringLiteral("-normal.bmp"),
                          encodeBmp32(drawFace(word, FaceState::Normal)), faceSize) ||
            !writeChecked(out, stem + QStringLiteral("-hover.bmp"),
                          encodeBmp32(drawFace(word, FaceState::Hover)), faceSize)) {
            return false;
        }
    }
    if (!writeChecked(out, QStringLiteral("banner.bmp"), encodeBmp32(drawBanner()),
                      QSize(kBannerWidth, kBannerHeight))) {
        return false;
    }
    const QByteArray ico = encodeIco16(drawIcon());
    if (!writeChecked(out, QStringLiteral("morvane.ico"), ico, QSize(kIconSize, kIconSize)) ||
        !drawDesktopIcons(out)) {
        return false;
    }
    if (!previewDir.isEmpty()) {
        const QImage decoded = QImage::fromData(ico, "ICO");
        if (!QDir().mkpath(previewDir) ||
            !writeChecked(QDir(previewDir), QStringLiteral("icon.bmp"),
                          encodeBmp32(iconPreview(decoded, qRgb(255, 255, 255))),
                          QSize(kIconSize, kIconSize))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Text needs a QGuiApplication; nothing is shown, so no display is needed either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: morvane-draw-pictures OUTPUT_DIR [PREVIEW_DIR]\n");
        return 2;
    }
    const QString fontError = loadPictureFonts(QStringLiteral(MORVANE_PICTURE_FONT_DIR));
    if (!fontError.isEmpty()) {
        fail(fontError);
        return 1;
    }
    if (!QDir().mkpath(args[1])) {
        fail(QStringLiteral("cannot create %1").arg(args[1]));
        return 1;
    }
    try {
        return drawAll(QDir(args[1]), args.size() == 3 ? args[2] : QString()) ? 0 : 1;
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        return 1;
    }
}
