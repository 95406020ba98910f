#pragma once

// Resource identifiers shared by resources/morvane.rc and the code that loads them. Pictures are
// named after their files, as the window layouts name them.
#define MORVANE_ICON_ID 1
