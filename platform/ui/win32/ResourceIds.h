#pragma once

// Resource identifiers shared by resources/morvane.rc and the code that loads them. Pictures are
// named after their files, as the window layouts name them.

// The program file's icon, at every size, which Explorer shows: the lowest identifier.
#define MORVANE_PROGRAM_ICON_ID 1
// The icon the four windows carry, the same as the Qt build's.
#define MORVANE_WINDOW_ICON_ID 2
