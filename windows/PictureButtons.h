#pragma once

#include "platform/ui/Toolkit.h"

namespace morvane::ui {

// The two picture buttons of Form2, Form3 and Form4: normal faces Image1 and Image3, hover faces
// Image2 and Image4 lying over them. A hover face stays up until the pointer crosses the bare
// background, so both can be up at once.

// The pointer is over the bare background: every hover face down, every normal face up.
inline void showNormalFaces(Window& window) {
    window.setVisible("Image4", false);
    window.setVisible("Image3", true);
    window.setVisible("Image2", false);
    window.setVisible("Image1", true);
}

// The pointer is over a normal face: it gives way to its hover face, which takes the click.
inline void showHoverFace(Window& window, std::string_view normalFace, std::string_view hoverFace) {
    window.setVisible(normalFace, false);
    window.setVisible(hoverFace, true);
}

}  // namespace morvane::ui
