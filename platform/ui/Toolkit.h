#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Layout.h"

namespace morvane::ui {

enum class Event {
    Click,      // a click, or a check box whose value changed, by the user or by the program
    MouseMove,  // the pointer moved over the control itself, no button held; never passed on to
                // the container. A move over the bare surface of a window is reported with the
                // window's own name as the control.
    Timer,      // a timer's interval elapsed
    Unload,     // the user or the system closed the window (close box, system menu, Alt+F4,
                // session end); reported with the window's name. Window::close() raises none.
};

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Message box icon, by the style values the messages use.
enum class MessageIcon { Exclamation = 48, Information = 64 };

// The behaviour side of one window: one handler per control and event.
class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void handle(std::string_view control, Event event) = 0;
};

// A window built from its layout. Controls are addressed by name; addressing a control the
// layout does not have is a programming error.
class Window {
  public:
    virtual ~Window() = default;  // destroys the toolkit window without raising Unload

    virtual void show() = 0;   // not modal
    virtual void close() = 0;  // hides it for good and stops its timers; raises no Unload

    virtual void setVisible(std::string_view control, bool visible) = 0;
    virtual bool isVisible(std::string_view control) const = 0;
    virtual int value(std::string_view control) const = 0;  // check box: 0, 1 or 2
    virtual void setValue(std::string_view control, int value) = 0;
    virtual std::string text(std::string_view control) const = 0;  // caption or text (UTF-8)
    virtual void setText(std::string_view control, const std::string& text) = 0;
    virtual void setTextColor(std::string_view control, Rgb colour) = 0;
    virtual void setUnderline(std::string_view control, bool underlined) = 0;
};

// Everything the windows need from the desktop. One implementation per toolkit; tests use a
// recording double, so no test ever waits on a modal box or a real dialog.
class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // Builds the window hidden, with every control as its layout gives it, and starts its
    // enabled timers. Events go to `sink`, which must outlive the window.
    virtual std::unique_ptr<Window> createWindow(const WindowLayout& layout, EventSink& sink) = 0;

    // Modal to `owner` and standing over it: returns when the user has closed the box. An empty
    // title means the program's name.
    virtual void messageBox(Window& owner, const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;

    // The folder dialog, modal to `owner`, with `startFolder` preselected ("c:\" stands for the
    // user's home folder where there are no drive letters). Returns the chosen folder's absolute
    // path, a root with its trailing separator and any other folder without one, or an empty text
    // on cancel.
    virtual std::string browseFolder(Window& owner, const std::string& title,
                                     const std::string& startFolder) = 0;

    // Opens a web address in the default browser; the outcome is not reported.
    virtual void openUrl(const std::string& url) = 0;

    // Runs `work` on a thread of its own and returns once it has ended, passing on what it threw.
    // Meanwhile the loop goes on: the windows keep painting, posted tasks and timers run, but no
    // window takes the user's input (the pointer, the keys, the close box) and the pointer shows
    // busy. `work` touches neither a window nor the toolkit. A quit while it runs closes the
    // windows; the work is still waited for.
    virtual void runBusy(const std::function<void()>& work) = 0;

    // Runs `task` once the current event has been handled, e.g. to discard a window from inside
    // one of its own handlers.
    virtual void post(std::function<void()> task) = 0;

    // Ends the program at once: every window closes, no question is asked.
    virtual void quit() = 0;
};

}  // namespace morvane::ui
