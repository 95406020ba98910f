#pragma once

#include <windows.h>

namespace morvane::ui::win32 {

// Twips to pixels at `dpi`: twips × dpi / 1440, rounded (15 twips a pixel at 96 dpi).
int pixels(int twips, unsigned dpi);

// The functions for per-monitor DPI came with Windows 10; they are looked up when the program runs,
// so it still starts on Windows 7, where the system DPI is all there is.

// Dots per inch of the monitor the window is on.
unsigned dpiOf(HWND window);
unsigned systemDpi();

// The outer rectangle of a window of these styles whose client area is `client`.
RECT outerRect(RECT client, DWORD style, DWORD exStyle, unsigned dpi);

}  // namespace morvane::ui::win32
