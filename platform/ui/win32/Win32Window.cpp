#include "platform/ui/win32/Win32Window.h"

#include <stdexcept>
#include <string>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/win32/Controls.h"

namespace morvane::ui {

using morvane::win32::narrow;
using morvane::win32::wide;

Win32Window::Win32Window(win32::FormList& forms, const WindowLayout& layout, EventSink& sink)
    : hwnd_(win32::NativeForm::create(forms, layout, sink).hwnd()) {}

Win32Window::~Win32Window() {
    if (win32::NativeForm* form = win32::NativeForm::of(hwnd_))
        form->discard();
}

win32::NativeForm& Win32Window::form() const {
    win32::NativeForm* form = win32::NativeForm::of(hwnd_);
    if (form == nullptr)
        throw std::logic_error("the window is gone");
    return *form;
}

win32::NativeControl& Win32Window::checkBox(std::string_view name) const {
    win32::NativeControl& control = form().control(name);
    if (control.layout == nullptr || control.layout->kind != ControlKind::CheckBox)
        throw std::invalid_argument("not a check box: " + std::string(name));
    return control;
}

win32::NativeControl& Win32Window::textControl(std::string_view name) const {
    win32::NativeControl& control = form().control(name);
    if (control.layout != nullptr && control.layout->kind == ControlKind::Picture)
        throw std::invalid_argument("no text: " + std::string(name));
    return control;
}

HWND Win32Window::controlWindow(std::string_view name) const {
    return form().control(name).hwnd;
}

UINT_PTR Win32Window::timerId(std::string_view name) const {
    return form().timerId(name);
}

HWND Win32Window::toolTips() const {
    return form().toolTips();
}

void Win32Window::show() {
    form().show();
}

void Win32Window::close() {
    form().closeQuietly();
}

void Win32Window::setVisible(std::string_view name, bool visible) {
    win32::NativeControl& control = form().control(name);
    if (control.hwnd == hwnd_ && visible) {
        form().show();
    } else {
        ShowWindow(control.hwnd, visible ? SW_SHOWNA : SW_HIDE);
    }
}

// The control's own visibility flag, which holds while the window itself is hidden.
bool Win32Window::isVisible(std::string_view name) const {
    return (GetWindowLongW(form().control(name).hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

int Win32Window::value(std::string_view name) const {
    return win32::controls::value(checkBox(name).hwnd);
}

void Win32Window::setValue(std::string_view name, int value) {
    form().setValue(checkBox(name), value);
}

std::string Win32Window::text(std::string_view name) const {
    return narrow(win32::controls::text(textControl(name).hwnd));
}

void Win32Window::setText(std::string_view name, const std::string& text) {
    win32::NativeControl& control = textControl(name);
    SetWindowTextW(control.hwnd, wide(text).c_str());
    form().repaint(control);
}

void Win32Window::setTextColor(std::string_view name, Rgb colour) {
    form().setTextColour(form().control(name), RGB(colour.red, colour.green, colour.blue));
}

void Win32Window::setUnderline(std::string_view name, bool underlined) {
    form().setUnderline(form().control(name), underlined);
}

}  // namespace morvane::ui
