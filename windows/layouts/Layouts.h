#pragma once

#include "platform/ui/Layout.h"

namespace morvane::ui {

// The four windows as laid out: every control with its place, caption, look, tool tip and tab
// place.
const WindowLayout& form1Layout();  // start window
const WindowLayout& form2Layout();  // game choice
const WindowLayout& form3Layout();  // folder choice
const WindowLayout& form4Layout();  // options window

}  // namespace morvane::ui
