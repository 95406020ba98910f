#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "platform/ui/Toolkit.h"
#include "platform/ui/win32/Win32Look.h"

namespace morvane::ui::win32 {

class NativeForm;
using FormList = std::set<NativeForm*>;

// Whether the message is the user's input: the pointer (the title bar and borders too) or a key.
bool isInput(UINT message);

// One control of a form: its layout and its child window.
struct NativeControl {
    const ControlLayout* layout = nullptr;  // null for the window itself
    HWND hwnd = nullptr;
    HWND inner = nullptr;   // the edit field of a drop-down box
    int left = 0, top = 0;  // twips from the window's client area, containers added up
    std::optional<COLORREF> textColour;
    bool underlined = false;
    HBITMAP picture = nullptr;  // owned
};

// A top-level window built from its layout, and its window procedure. It belongs to its window
// handle: it is deleted when the window is destroyed, which happens only once no message of its
// own is being handled, so a handler may discard the window it runs in.
//
// Controls are children of the top-level window itself, at the place their containers give them;
// frames lie beneath the controls they hold and pictures beneath the other controls. So the
// stacking (Z) order is the tab order, and the dialog manager (IsDialogMessageW) walks it as the
// layouts number it, across frames.
class NativeForm {
  public:
    // Builds the window hidden and starts its enabled timers. Events go to `sink`.
    static NativeForm& create(FormList& forms, const WindowLayout& layout, EventSink& sink);

    // The form of a window handle; null when the window is gone.
    static NativeForm* of(HWND hwnd);

    HWND hwnd() const { return hwnd_; }
    HWND toolTips() const { return toolTips_; }

    // Throws std::invalid_argument for a name the layout does not have. The window's own name
    // stands for the window.
    NativeControl& control(std::string_view name);
    UINT_PTR timerId(std::string_view name) const;

    void show();
    void closeQuietly();  // hidden for good, timers stopped; no Unload
    // While blocked the window takes none of the user's input (the pointer, the keys, the close
    // box) and the pointer over it shows busy; it still paints.
    void setBlocked(bool blocked) { blocked_ = blocked; }
    bool blocked() const { return blocked_; }
    void discard();  // no more events; destroyed once its own messages are handled

    void setTextColour(NativeControl& control, COLORREF colour);
    void setUnderline(NativeControl& control, bool underlined);
    // Paints the control again, and what lies under it (a control may have no background).
    void repaint(const NativeControl& control);
    // Whether the control of that window (an inner part of one included) raises Click.
    bool raisesClick(HWND hwnd);
    // A check box changed by the program: Click when its value changed.
    void setValue(NativeControl& control, int value);

  private:
    struct Timer {
        const ControlLayout* layout;
        UINT_PTR id;
    };

    NativeForm(FormList& forms, const WindowLayout& layout, EventSink& sink);
    ~NativeForm();

    void build();
    void createControls();
    void stack();
    void addToolTips();
    void startTimers();
    void layOut(unsigned dpi, POINT clientPlace);
    RECT pixelRect(const NativeControl& control) const;
    NativeControl* controlOf(HWND hwnd);
    std::string_view nameAt(POINT clientPoint);
    void report(std::string_view control, Event event);
    void focusFirst();
    void restoreFocus();

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onControlMessage(NativeControl& control, HWND hwnd, UINT message, WPARAM wParam,
                             LPARAM lParam);
    LRESULT onColour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND child, WORD code);
    void onDpiChanged(unsigned dpi, const RECT& suggested);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR index, DWORD_PTR form);

    FormList& forms_;
    const WindowLayout& layout_;
    EventSink* sink_;
    HWND hwnd_ = nullptr;
    HWND toolTips_ = nullptr;
    HWND focus_ = nullptr;  // the control that had the focus when the window was left
    unsigned dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<LookFonts> fonts_;
    std::vector<NativeControl> controls_;  // the window itself first
    std::vector<Timer> timers_;
    int depth_ = 0;  // messages of this form being handled, nested
    bool quiet_ = false;
    bool blocked_ = false;
    bool ownedByWindow_ = false;
};

}  // namespace morvane::ui::win32
