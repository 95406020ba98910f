#pragma once

#include <QString>

#include "platform/ui/Layout.h"

class QWidget;

namespace morvane::ui::controls {

// Builds the widget of one control inside `container`, at its place, with its caption, look, tool
// tip, initial visibility and enabled state. Not for timers, which have no widget.
QWidget* make(const ControlLayout& layout, QWidget& container);

// Caption or text of a control or a window. Throws std::invalid_argument for a picture.
QString text(const QWidget& widget);
void setText(QWidget& widget, const QString& text);

// Check box value: 0 unticked, 1 ticked, 2 grayed. Throws std::invalid_argument for any other
// widget or value.
int value(const QWidget& widget);
void setValue(QWidget& widget, int value);

}  // namespace morvane::ui::controls
