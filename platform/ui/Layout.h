#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace morvane::ui {

// Layout units are twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

enum class ControlKind { Frame, Label, CheckBox, PushButton, TextBox, ComboBox, Picture, Timer };

// How a control is drawn.
enum class Look {
    Common,     // white bold text on black, the window font
    Standard,   // the system's own colours and dialog font
    StatusBox,  // a bare check box on black, otherwise standard; never takes the focus
    Highlight,  // common font, text in the system's highlighted-text colour, no background of its
                // own
};

struct ControlLayout {
    std::string_view name;  // "Check1", "Image2", ...
    ControlKind kind;
    std::string_view container;  // the window's name, or the frame that holds the control
    int left = 0, top = 0, width = 0, height = 0;  // twips, from the container's inner top-left
    std::string_view caption =
        {};  // caption or text; for a picture, the name of its bitmap resource
    std::string_view toolTip = {};  // empty: none
    int tabIndex = -1;              // place in the tab order; -1: none
    Look look = Look::Common;
    bool visible = true;
    bool enabled = true;
    std::span<const std::string_view> items = {};  // list entries of a drop-down box
    int interval = 0;                              // milliseconds, for a timer
};

struct WindowLayout {
    std::string_view name;  // "Form1" ... "Form4"
    std::string_view caption;
    int width = 0, height = 0;  // client area, twips
    bool bordered = true;       // false: no border and no title bar
    int left = 0, top = 0;      // design position of the client area on the screen, twips
    std::span<const ControlLayout> controls;
};

}  // namespace morvane::ui
