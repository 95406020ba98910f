#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <span>

namespace morvane::pictures {

inline constexpr int kFaceWidth = 120;
inline constexpr int kFaceHeight = 35;
inline constexpr int kBannerWidth = 300;
inline constexpr int kBannerHeight = 150;
inline constexpr int kIconSize = 32;  // the windows' own icon

// The same design in full colour for desktop menus (one PNG each) and, at 16/32/48/256, the
// program file's icon on Windows.
inline constexpr std::array<int, 7> kDesktopIconSizes{16, 24, 32, 48, 64, 128, 256};
inline constexpr std::array<int, 4> kProgramIconSizes{16, 32, 48, 256};

enum class FaceState { Normal, Hover };

struct FaceWord {
    const char* fileStem;  // "next" gives next-normal.bmp and next-hover.bmp
    const char* word;      // UTF-8
};

// The words of the four picture buttons.
std::span<const FaceWord> faceWords();

// Registers the font files the pictures are drawn with, so that the committed bitmaps do
// not depend on what fontconfig would pick on this machine. Needs a QGuiApplication.
// Returns an empty string, or what went wrong.
QString loadPictureFonts(const QString& fontDir);

QImage drawFace(const QString& word, FaceState state);
QImage drawBanner();
QImage drawIcon(int size = kIconSize);  // ARGB: transparent around the letters and their shadow

// The icon laid on a flat backdrop, for looking at it as a plain bitmap.
QImage iconPreview(const QImage& icon, QRgb backdrop);

}  // namespace morvane::pictures
