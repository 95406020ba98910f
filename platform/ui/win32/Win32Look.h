#pragma once

#include <windows.h>

#include "platform/ui/Layout.h"

namespace morvane::ui::win32 {

// The fonts of one window at one DPI: the common font (bold, white on black) and the system's
// dialog font of standard-look controls, each plain and underlined.
class LookFonts {
  public:
    explicit LookFonts(unsigned dpi);
    ~LookFonts();
    LookFonts(const LookFonts&) = delete;
    LookFonts& operator=(const LookFonts&) = delete;

    HFONT font(Look look, bool underlined) const;

  private:
    HFONT common_, commonUnderlined_, dialog_, dialogUnderlined_;
};

// Whether the look draws in the common colours (the text colour a control is given applies).
bool hasCommonColours(Look look);

// The face name of the common font at `dpi`: "MS Sans Serif", a bitmap font, only where it is
// installed and needs no scaling (96 dpi); "Microsoft Sans Serif" everywhere else.
const wchar_t* commonFace(unsigned dpi);

}  // namespace morvane::ui::win32
