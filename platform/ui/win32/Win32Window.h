#pragma once

#include <windows.h>

#include "platform/ui/Toolkit.h"
#include "platform/ui/win32/NativeForm.h"

namespace morvane::ui {

// A window built from its layout as a Win32 top-level window with one child window per control.
class Win32Window final : public Window {
  public:
    // Builds the window hidden and starts its enabled timers. `sink` must outlive this object.
    Win32Window(win32::FormList& forms, const WindowLayout& layout, EventSink& sink);

    // No event reaches the sink from now on; the window is destroyed once none of its own
    // messages is being handled, so it may be discarded from inside one of its own events.
    ~Win32Window() override;

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // The window handle, for dialogs that need an owner and for pictures of the window.
    HWND hwnd() const { return hwnd_; }
    HWND controlWindow(std::string_view name) const;
    UINT_PTR timerId(std::string_view name) const;
    HWND toolTips() const;

    void show() override;
    void close() override;
    void setVisible(std::string_view control, bool visible) override;
    bool isVisible(std::string_view control) const override;
    int value(std::string_view control) const override;
    void setValue(std::string_view control, int value) override;
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    void setTextColor(std::string_view control, Rgb colour) override;
    void setUnderline(std::string_view control, bool underlined) override;

  private:
    // Throws std::logic_error once the window is gone with the toolkit.
    win32::NativeForm& form() const;
    // Throws std::invalid_argument for a control the layout lacks, or of the wrong kind.
    win32::NativeControl& checkBox(std::string_view name) const;
    win32::NativeControl& textControl(std::string_view name) const;

    HWND hwnd_;
};

}  // namespace morvane::ui
