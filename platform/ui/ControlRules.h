#pragma once

#include "platform/ui/Layout.h"

namespace morvane::ui {

// Rules every toolkit applies alike to the controls of a layout.

// Whether a control can ever take the keyboard focus: an enabled check box, button, text box or
// drop-down box with a place in the tab order; never a status box.
inline bool takesFocus(const ControlLayout& layout) {
    switch (layout.kind) {
        case ControlKind::CheckBox:
        case ControlKind::PushButton:
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
            return layout.enabled && layout.look != Look::StatusBox && layout.tabIndex >= 0;
        default:
            return false;
    }
}

// Whether a click on the control itself is an event of its own: labels and pictures. (Buttons and
// check boxes report theirs through the toolkit's own click.)
inline bool reportsOwnClicks(const ControlLayout& layout) {
    return layout.kind == ControlKind::Label || layout.kind == ControlKind::Picture;
}

// Whether the control raises Click at all: by itself, or through the toolkit's own click.
inline bool raisesClick(const ControlLayout& layout) {
    return reportsOwnClicks(layout) || layout.kind == ControlKind::CheckBox ||
           layout.kind == ControlKind::PushButton;
}

}  // namespace morvane::ui
