#pragma once

#include <string_view>

#include "Layout.h"

namespace morvane::ui {

// One face of a picture button: a 120 x 35 pixel bitmap. The hover face is hidden at start and
// carries the tool tip; the normal face has none.
constexpr ControlLayout hoverFace(std::string_view name, std::string_view container, int left,
                                  int top, std::string_view bitmap, std::string_view toolTip) {
    return {.name = name,
            .kind = ControlKind::Picture,
            .container = container,
            .left = left,
            .top = top,
            .width = 1800,
            .height = 525,
            .caption = bitmap,
            .toolTip = toolTip,
            .visible = false};
}

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

}  // namespace morvane::ui
