#pragma once

#include <string_view>

#include "platform/ui/Layout.h"

namespace morvane::ui {

// One face of a picture button: a 120 x 35 pixel bitmap. The normal face shows at start and has
// no tool tip; the hover face over it is hidden at start and carries the button's tool tip.
constexpr ControlLayout normalFace(std::string_view name, std::string_view container, int left,
                                   int top, std::string_view bitmap) {
    return {.name = name,
            .kind = ControlKind::Picture,
            .container = container,
            .left = left,
            .top = top,
            .width = 1800,
            .height = 525,
            .caption = bitmap};
}

constexpr ControlLayout hoverFace(std::string_view name, std::string_view container, int left,
                                  int top, std::string_view bitmap, std::string_view toolTip) {
    ControlLayout face = normalFace(name, container, left, top, bitmap);
    face.toolTip = toolTip;
    face.visible = false;
    return face;
}

}  // namespace morvane::ui
