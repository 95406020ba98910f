#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui::win32 {

// The system's message box, modal to `owner` and centred over it (within the owner's monitor).
// Windows itself puts a box in the middle of the screen, whatever its owner.
void showMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style);

}  // namespace morvane::ui::win32
