// The events the Win32 layer raises: which control a pointer move belongs to, clicks, value
// changes, timers and closing.
#include <windows.h>

#include <windowsx.h>

#include "tests/platform/ui/win32/Win32TestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A point of `area` (in window client coordinates) where no other control lies over it.
POINT barePoint(HWND window, HWND area) {
    RECT bounds = area == window ? RECT{} : clientRect(area, window);
    if (area == window)
        GetClientRect(window, &bounds);
    for (int y = bounds.bottom - 3; y > bounds.top; --y) {
        for (int x = bounds.right - 3; x > bounds.left; --x) {
            if (ChildWindowFromPointEx(window, {x, y}, CWP_SKIPINVISIBLE) == area)
                return {x, y};
        }
    }
    ADD_FAILURE() << "no bare point";
    return {};
}

POINT centre(HWND control, HWND window) {
    const RECT area = clientRect(control, window);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

// A press and a release at a point of the control, as the mouse makes them.
void click(HWND control, POINT at = {2, 2}, POINT releasedAt = {2, 2}) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(releasedAt.x, releasedAt.y));
}

class Win32WindowEvents : public Win32Test {
  protected:
    std::unique_ptr<Window> open(const WindowLayout& layout) {
        auto window = toolkit.createWindow(layout, sink);
        window->show();
        toolkit.processPending();
        return window;
    }
};

TEST_F(Win32WindowEvents, APointerMoveBelongsToTheControlOrBareSurfaceUnderItAlone) {
    for (const WindowLayout* layout : {&form4Layout(), &form2Layout()}) {
        auto window = open(*layout);
        HWND top = native(*window).hwnd();
        for (const char* control : {"Check1", "Check4", "Check7", "Label2", "Image1", "Frame1",
                                    "Frame2", "Form4", "Combo1", "Form2"}) {
            HWND area = nullptr;
            try {
                area = hwndOf(*window, control);
            } catch (const std::invalid_argument&) {
                continue;  // not in this window
            }
            SCOPED_TRACE(control);
            const bool bare = area == top || std::string_view(control).starts_with("Frame");
            POINT point = bare ? barePoint(top, area) : centre(area, top);
            ClientToScreen(top, &point);
            sink.events.clear();
            SetCursorPos(point.x, point.y);
            EXPECT_TRUE(settle(toolkit, [this] { return !sink.events.empty(); }));
            toolkit.processPending();
            EXPECT_THAT(sink.events, ElementsAre(Raised{control, Event::MouseMove}));
        }
        window->close();
    }
}

TEST_F(Win32WindowEvents, AMoveWithAButtonHeldIsNoPointerMove) {
    auto window = open(form4Layout());
    HWND box = hwndOf(*window, "Check1");
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 3));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    EXPECT_THAT(sink.controlsWith(Event::MouseMove), IsEmpty());
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Check1"));
    window->close();
}

// A click is a press and a release on the same control; a press let go elsewhere is none.
TEST_F(Win32WindowEvents, ClicksOnPicturesLabelsAndTheButton) {
    const std::pair<const WindowLayout*, const char*> clicks[] = {
        {&form4Layout(), "Image2"}, {&form1Layout(), "Label3"}, {&form3Layout(), "Command1"}};
    for (const auto& [layout, control] : clicks) {
        auto window = open(*layout);
        window->setVisible(control, true);
        click(hwndOf(*window, control));
        click(hwndOf(*window, control), {2, 2}, {-40, -40});
        window->close();
    }
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Image2", "Label3", "Command1"));
}

TEST_F(Win32WindowEvents, ACheckBoxRaisesClickWheneverItsValueChanges) {
    auto window = open(form4Layout());
    click(hwndOf(*window, "Check1"));                                  // 0 -> 1
    SendMessageW(hwndOf(*window, "Check1"), WM_KEYDOWN, VK_SPACE, 0);  // 1 -> 0
    SendMessageW(hwndOf(*window, "Check1"), WM_KEYUP, VK_SPACE, 0);
    window->setValue("Check4", 1);  // by the program
    window->setValue("Check4", 1);  // no change: no Click
    window->setValue("Check4", 2);
    window->setValue("Check7", 2);
    click(hwndOf(*window, "Check7"));  // a grayed box goes to unticked,
    click(hwndOf(*window, "Check7"));  // and is a two-state box again
    EXPECT_THAT(sink.controlsWith(Event::Click),
                ElementsAre("Check1", "Check1", "Check4", "Check4", "Check7", "Check7", "Check7"));
    EXPECT_EQ(window->value("Check1"), 0);
    EXPECT_EQ(window->value("Check4"), 2);
    EXPECT_EQ(window->value("Check7"), 1);
    window->close();
}

TEST_F(Win32WindowEvents, OnlyAUserCloseRaisesUnload) {
    auto form4 = open(form4Layout());
    form4->close();
    EXPECT_FALSE(IsWindowVisible(native(*form4).hwnd()));
    auto form2 = open(form2Layout());
    // The close box and Alt+F4 come as the system command; WM_CLOSE follows from it.
    SendMessageW(native(*form2).hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(native(*form2).hwnd()));
    auto form3 = open(form3Layout());
    form3.reset();  // discarded without closing
    toolkit.processPending();
    EXPECT_THAT(sink.controlsWith(Event::Unload), ElementsAre("Form2"));
}

TEST_F(Win32WindowEvents, AWindowDiscardedFromItsOwnEventsIsDestroyedAfterThem) {
    std::unique_ptr<Window> window = open(form2Layout());
    HWND hwnd = native(*window).hwnd();
    sink.onEvent = [&window] { window.reset(); };
    window->setVisible("Image2", true);
    click(hwndOf(*window, "Image2"));
    EXPECT_EQ(window, nullptr);
    EXPECT_TRUE(IsWindow(hwnd)) << "still inside its own message";
    toolkit.processPending();
    EXPECT_FALSE(IsWindow(hwnd));

    window = open(form3Layout());
    hwnd = native(*window).hwnd();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(window, nullptr);
    toolkit.processPending();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_THAT(sink.controlsWith(Event::Unload), ElementsAre("Form3"));
}

TEST_F(Win32WindowEvents, StartWindowTimerRunsFromCreationUntilClosed) {
    auto running = toolkit.createWindow(form1Layout(), sink);
    const UINT_PTR timer = native(*running).timerId("Timer1");
    // No waiting on real time: the tick arrives the way the message loop delivers it.
    SendMessageW(native(*running).hwnd(), WM_TIMER, timer, 0);
    EXPECT_THAT(sink.events, ElementsAre(Raised{"Timer1", Event::Timer}));
    EXPECT_TRUE(KillTimer(native(*running).hwnd(), timer)) << "running from creation";

    auto closed = toolkit.createWindow(form1Layout(), sink);
    closed->close();
    EXPECT_FALSE(KillTimer(native(*closed).hwnd(), timer)) << "a closed window's timer must stop";
}

}  // namespace
}  // namespace morvane::ui::test
