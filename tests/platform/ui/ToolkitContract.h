#pragma once

// What every toolkit layer is held to alike. The tests (ToolkitContractTest.cpp) are written
// against Toolkit and Window alone; each toolkit's test program supplies a driver that does to its
// windows what the user and the system do, and reads back what only the toolkit's own objects
// tell.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/DialogScript.h"
#include "platform/ui/Toolkit.h"

namespace morvane::ui::test {

// A point of a window's client area, in pixels.
struct Point {
    int x = 0, y = 0;
};

// A rectangle in pixels.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A window as the system shows it.
struct WindowFacts {
    Rect client;  // the client area, on the screen
    std::string caption;
    bool titleBar = false, closeBox = false, minimiseBox = false, maximiseBox = false;
    bool resizable = false;
    bool hasIcon = false;
};

// A control as the system shows it.
struct ControlFacts {
    Rect place;  // in the window's client area
    bool enabled = false;
    bool takesFocus = false;  // can ever take the keyboard focus
    std::string toolTip;      // empty: none
    // A picture: the size of the bitmap it shows and whether that is its resource, pixel for pixel.
    Rect bitmap;
    bool bitmapIsResource = false;
};

// A message box as it stands on the screen, read before it is answered.
struct ShownBox {
    std::string title, text;
    std::optional<MessageIcon> icon;  // none: another icon, or none at all
    int buttons = 0;
    bool plainText = false;  // markup in the text is shown as it is
    std::string owner;       // the caption of the window it belongs to; empty: none
    Rect place;              // on the screen, with its title bar
};

class ToolkitDriver {
  public:
    virtual ~ToolkitDriver() = default;

    virtual Toolkit& toolkit() = 0;
    // While set, the toolkit answers its dialogs from the script (Toolkit implementations' own
    // useScript).
    virtual void useScript(DialogScript* script) = 0;

    // The window built, shown, on the screen and active.
    virtual std::unique_ptr<Window> open(const WindowLayout& layout, EventSink& sink) = 0;
    // Handles what is waiting: posted tasks, window messages, windows discarded.
    virtual void settle() = 0;
    // Handles what comes until `done` holds; false when it never did (a guard, not a wait).
    virtual bool settleUntil(const std::function<bool()>& done) = 0;
    // The program's loop, until the toolkit's quit(); a guard of a few seconds ends it with 1.
    virtual int runLoop() = 0;
    // Whether the loop would go on running: the toolkit has not been asked to end it.
    virtual bool loopGoesOn() = 0;
    // Captions of the program's windows that are shown.
    virtual std::vector<std::string> shownWindows() = 0;

    // Where things are.
    virtual bool has(Window& window, std::string_view control) = 0;
    virtual Point centreOf(Window& window, std::string_view control) = 0;
    // A point of a frame's or the window's own bare area, where no other control lies.
    virtual Point barePointOf(Window& window, std::string_view area) = 0;
    // The name of the topmost shown control at the point; the window's name on its bare area.
    virtual std::string controlAt(Window& window, Point point) = 0;

    // What the user does.
    // Puts the pointer in the screen's top left corner, where no window of the tests lies, so that
    // no window reports a pointer move of its own accord.
    virtual void parkPointer() = 0;
    virtual void movePointer(Window& window, Point point) = 0;
    virtual void click(Window& window, std::string_view control) = 0;
    // Pressed on the control, let go well outside it.
    virtual void clickReleasedElsewhere(Window& window, std::string_view control) = 0;
    // Pressed on the control, moved a little with the button held, let go there.
    virtual void drag(Window& window, std::string_view control) = 0;
    virtual void pressSpace(Window& window, std::string_view control) = 0;
    // Moves the focus on with the Tab key.
    virtual void pressTab(Window& window) = 0;
    // The name of the control that holds the keyboard focus; "(none)" when none does.
    virtual std::string focusName(Window& window) = 0;
    // Selects the editable box's text and types `text` over it, then Return.
    virtual void typeOver(Window& window, std::string_view control, const std::string& text) = 0;
    // A click at the point, and `gap` milliseconds later another at the same place of the screen,
    // on whatever window is there by then; both as the system's input, times given, not waited.
    virtual void clickTwice(Window& window, Point point, int gap) = 0;
    // The system's double-click time, in milliseconds.
    virtual int doubleClickInterval() = 0;
    // The close box (or Alt+F4, or the session ending).
    virtual void closeAsUser(Window& window) = 0;

    // What the toolkit's own objects tell.
    virtual bool shown(Window& window) = 0;
    // Whether the system's window behind `window` still exists; asked after `window` is gone too.
    virtual std::function<bool()> existence(Window& window) = 0;
    virtual WindowFacts windowFacts(Window& window) = 0;
    virtual ControlFacts controlFacts(Window& window, std::string_view control) = 0;
    virtual int listEntries(Window& window, std::string_view control) = 0;
    // A timer's tick, delivered as the loop delivers it, without waiting for it.
    virtual void tick(Window& window, std::string_view timer) = 0;
    virtual bool timerRuns(Window& window, std::string_view timer) = 0;
    // No value where the system does not tell a timer's interval.
    virtual std::optional<int> timerInterval(Window& window, std::string_view timer) = 0;
    virtual Rgb textColour(Window& window, std::string_view control) = 0;
    virtual bool underlined(Window& window, std::string_view control) = 0;
    // Whether the pointer over the window shows busy.
    virtual bool busyPointer(Window& window) = 0;
    // Asks for the window to be painted again, as a change of its content would.
    virtual void requestPaint(Window& window) = 0;
    // From now on, counts the times the window is painted; the count may be read on any thread.
    virtual std::function<int()> countPaints(Window& window) = 0;
    // Runs `open`, which shows a message box, answers the box with its button once it is on the
    // screen, and tells what it showed.
    virtual ShownBox answerMessageBox(const std::function<void()>& open) = 0;
};

// The driver of the toolkit under test, with a toolkit of its own; one per test.
std::unique_ptr<ToolkitDriver> makeToolkitDriver();

}  // namespace morvane::ui::test
