#include "platform/ui/win32/Win32Look.h"

namespace morvane::ui::win32 {

namespace {

constexpr const wchar_t* kBitmapFace = L"MS Sans Serif";
constexpr const wchar_t* kScalableFace = L"Microsoft Sans Serif";
constexpr const wchar_t* kDialogFace = L"MS Shell Dlg 2";

int CALLBACK noteRasterFont(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    if ((type & RASTER_FONTTYPE) != 0)
        *reinterpret_cast<bool*>(found) = true;
    return 1;
}

bool bitmapFaceInstalled() {
    static const bool installed = [] {
        LOGFONTW wanted{};
        wanted.lfCharSet = RUSSIAN_CHARSET;
        wcscpy_s(wanted.lfFaceName, kBitmapFace);
        bool found = false;
        HDC screen = GetDC(nullptr);
        EnumFontFamiliesExW(screen, &wanted, noteRasterFont, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
        return found;
    }();
    return installed;
}

// Sizes in hundredths of a point (975 for 9.75 pt), 7200 of them to the inch.
HFONT makeFont(const wchar_t* face, int hundredthsOfPoint, unsigned dpi, int weight, BYTE charset,
               bool underlined) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
    font.lfWeight = weight;
    font.lfUnderline = underlined ? TRUE : FALSE;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    wcscpy_s(font.lfFaceName, face);
    return CreateFontIndirectW(&font);
}

}  // namespace

const wchar_t* commonFace(unsigned dpi) {
    return dpi == USER_DEFAULT_SCREEN_DPI && bitmapFaceInstalled() ? kBitmapFace : kScalableFace;
}

LookFonts::LookFonts(unsigned dpi)
    : common_(makeFont(commonFace(dpi), 975, dpi, FW_BOLD, RUSSIAN_CHARSET, false)),
      commonUnderlined_(makeFont(commonFace(dpi), 975, dpi, FW_BOLD, RUSSIAN_CHARSET, true)),
      dialog_(makeFont(kDialogFace, 800, dpi, FW_NORMAL, DEFAULT_CHARSET, false)),
      dialogUnderlined_(makeFont(kDialogFace, 800, dpi, FW_NORMAL, DEFAULT_CHARSET, true)) {}

LookFonts::~LookFonts() {
    for (HFONT font : {common_, commonUnderlined_, dialog_, dialogUnderlined_})
        DeleteObject(font);
}

HFONT LookFonts::font(Look look, bool underlined) const {
    if (hasCommonColours(look))
        return underlined ? commonUnderlined_ : common_;
    return underlined ? dialogUnderlined_ : dialog_;
}

bool hasCommonColours(Look look) {
    return look == Look::Common || look == Look::Highlight;
}

}  // namespace morvane::ui::win32
