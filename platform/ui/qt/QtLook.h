#pragma once

#include <QFont>
#include <QPalette>

#include "platform/ui/Layout.h"

class QWidget;

namespace morvane::ui::look {

// Twips to pixels at 15 twips a pixel.
int pixels(int twips);

// White bold text of the windows. Sized in pixels, so a window looks the same at any logical DPI.
QFont commonFont();

// The dialog font of standard-look controls, message boxes and the folder dialog.
QFont dialogFont();

// `palette` with its disabled texts (text, window text, button text) moved toward the enabled
// ones just far enough to read at 4.5:1 against their backgrounds; they stay greyer than enabled
// text. Colours already that readable are kept.
QPalette withReadableDisabledText(QPalette palette);

// Gives `widget` the colours and font of `look`, and its background.
void apply(QWidget& widget, Look look);

// Black background of a window's client area.
void applyWindowBackground(QWidget& window);

}  // namespace morvane::ui::look
