#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/ui/Layout.h"

namespace morvane::ui::win32::controls {

// Window class of a frame: an etched line round the area whose top runs through the caption, in
// the colours and the font the parent gives it (WM_CTLCOLORSTATIC, WM_SETFONT). Registered once.
const wchar_t* frameClass();

// Creates the child window of one control of `parent`, hidden or shown and enabled or not as its
// layout says, with its caption and (for a drop-down box) its list entries. Its place, size and
// font come later, from the window's layout at its DPI. Not for timers.
HWND make(const ControlLayout& layout, HWND parent, int id);

// The edit field of an editable drop-down box, which takes the pointer and the keyboard for it.
HWND comboEdit(HWND combo);

// Places a control in pixels. A drop-down box gets `height` as its closed height and room below
// for its list.
void place(const ControlLayout& layout, HWND control, RECT pixels);

// A picture of the resources (named after its file) at the given size; null when there is none.
HBITMAP loadPicture(std::string_view file, int width, int height);

// Check box value: 0 unticked, 1 ticked, 2 grayed. Throws std::invalid_argument for any other
// value.
int value(HWND box);
void setValue(HWND box, int value);
// After the user's click a grayed box is a two-state box again, as only the program grays one.
void settleAfterClick(HWND box);

std::wstring text(HWND control);

}  // namespace morvane::ui::win32::controls
