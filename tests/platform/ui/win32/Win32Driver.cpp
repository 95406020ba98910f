// The toolkit contract's driver for the Win32 layer under Wine: the user's input as the window
// messages it makes, and what the system's windows tell.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "tests/platform/ui/ToolkitContract.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"

namespace morvane::ui::test {
namespace {

// The layout a window was built from, by its caption.
const WindowLayout& layoutOf(Window& window) {
    const std::string caption = windowText(native(window).hwnd());
    for (const WindowLayout* layout :
         {&form1Layout(), &form2Layout(), &form3Layout(), &form4Layout()}) {
        if (layout->caption == caption)
            return *layout;
    }
    throw std::invalid_argument(caption);
}

HWND areaOf(Window& window, std::string_view name) {
    return name == layoutOf(window).name ? native(window).hwnd() : hwndOf(window, name);
}

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

// A press and a release at points of the control, as the mouse makes them.
void click(HWND control, POINT at = {2, 2}, POINT releasedAt = {2, 2}) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(releasedAt.x, releasedAt.y));
}

void key(HWND target, UINT virtualKey) {
    SendMessageW(target, WM_KEYDOWN, virtualKey, 0);
    SendMessageW(target, WM_KEYUP, virtualKey, 0);
}

Rect rect(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth * info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The bitmap a picture control shows, and whether it is its resource pixel for pixel.
void readPicture(HWND picture, std::string_view resourceName, ControlFacts& facts) {
    auto* shown = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size{};
    GetObjectW(shown, sizeof(size), &size);
    facts.bitmap = {0, 0, size.bmWidth, size.bmHeight};
    auto* resource = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                     morvane::win32::wide(resourceName).c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    facts.bitmapIsResource = resource != nullptr && pixelsOf(shown) == pixelsOf(resource);
    if (resource != nullptr)
        DeleteObject(resource);
}

std::optional<MessageIcon> iconOf(HWND box) {
    for (HWND picture : childrenOf(box, L"Static")) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0));
        if (icon != nullptr && icon == LoadIconW(nullptr, IDI_EXCLAMATION))
            return MessageIcon::Exclamation;
        if (icon != nullptr && icon == LoadIconW(nullptr, IDI_INFORMATION))
            return MessageIcon::Information;
    }
    return std::nullopt;
}

class Win32Driver final : public ToolkitDriver {
  public:
    Toolkit& toolkit() override { return toolkit_; }
    void useScript(DialogScript* script) override { toolkit_.useScript(script); }

    std::unique_ptr<Window> open(const WindowLayout& layout, EventSink& sink) override {
        auto window = toolkit_.createWindow(layout, sink);
        window->show();
        HWND hwnd = native(*window).hwnd();
        EXPECT_TRUE(settleUntil([hwnd] { return GetActiveWindow() == hwnd; }));
        return window;
    }

    void settle() override { toolkit_.processPending(); }

    bool settleUntil(const std::function<bool()>& done) override {
        return test::settle(toolkit_, done);
    }

    int runLoop() override {
        // A guard, not a wait: the loop must end by itself long before it.
        const UINT_PTR guard =
            SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
        const int code = toolkit_.run();
        KillTimer(nullptr, guard);
        return code;
    }

    bool loopGoesOn() override { return toolkit_.processPending(); }

    std::vector<std::string> shownWindows() override { return test::shownWindows(); }

    bool has(Window& window, std::string_view control) override {
        try {
            hwndOf(window, control);
            return true;
        } catch (const std::invalid_argument&) {
            return false;
        }
    }

    Point centreOf(Window& window, std::string_view control) override {
        const RECT area = clientRect(areaOf(window, control), native(window).hwnd());
        return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    }

    Point barePointOf(Window& window, std::string_view area) override {
        const POINT point = barePoint(native(window).hwnd(), areaOf(window, area));
        return {point.x, point.y};
    }

    std::string controlAt(Window& window, Point point) override {
        HWND found =
            ChildWindowFromPointEx(native(window).hwnd(), {point.x, point.y}, CWP_SKIPINVISIBLE);
        const WindowLayout& layout = layoutOf(window);
        for (const ControlLayout& control : layout.controls) {
            if (control.kind != ControlKind::Timer && hwndOf(window, control.name) == found)
                return std::string(control.name);
        }
        return std::string(layout.name);
    }

    void parkPointer() override {
        SetCursorPos(0, 0);
        toolkit_.processPending();
    }

    void movePointer(Window& window, Point point) override {
        POINT screen{point.x, point.y};
        ClientToScreen(native(window).hwnd(), &screen);
        SetCursorPos(screen.x, screen.y);
    }

    void click(Window& window, std::string_view control) override {
        test::click(hwndOf(window, control));
    }

    void clickReleasedElsewhere(Window& window, std::string_view control) override {
        test::click(hwndOf(window, control), {2, 2}, {-40, -40});
    }

    void drag(Window& window, std::string_view control) override {
        HWND box = hwndOf(window, control);
        SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 3));
        SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    }

    void pressSpace(Window& window, std::string_view control) override {
        key(hwndOf(window, control), VK_SPACE);
    }

    // Through the loop, whose dialog manager moves the focus.
    void pressTab(Window&) override {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0);
        toolkit_.processPending();
    }

    std::string focusName(Window& window) override {
        const WindowLayout& layout = layoutOf(window);
        for (const ControlLayout& control : layout.controls) {
            if (control.kind != ControlKind::Timer &&
                (GetFocus() == hwndOf(window, control.name) ||
                 GetParent(GetFocus()) == hwndOf(window, control.name)))
                return std::string(control.name);
        }
        return "(none)";
    }

    void typeOver(Window& window, std::string_view control, const std::string& text) override {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        HWND edit = GetComboBoxInfo(hwndOf(window, control), &info) ? info.hwndItem
                                                                    : hwndOf(window, control);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (wchar_t c : morvane::win32::wide(text))
            SendMessageW(edit, WM_CHAR, c, 0);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(edit, WM_KEYUP, VK_RETURN, 0);
        toolkit_.processPending();
    }

    // As the mouse gives it, through the system's input queue, with the times given.
    void clickTwice(Window& window, Point point, int gap) override {
        POINT screen{point.x, point.y};
        ClientToScreen(native(window).hwnd(), &screen);
        const DWORD first = GetTickCount();
        pressAndRelease(screen, first);
        pressAndRelease(screen, first + static_cast<DWORD>(gap));
    }

    int doubleClickInterval() override { return static_cast<int>(GetDoubleClickTime()); }

    // The close box and Alt+F4 come as the system command; WM_CLOSE follows from it.
    void closeAsUser(Window& window) override {
        SendMessageW(native(window).hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    bool shown(Window& window) override { return IsWindowVisible(native(window).hwnd()) != FALSE; }

    std::function<bool()> existence(Window& window) override {
        return [hwnd = native(window).hwnd()] { return IsWindow(hwnd) != FALSE; };
    }

    WindowFacts windowFacts(Window& window) override {
        HWND top = native(window).hwnd();
        RECT client;
        GetClientRect(top, &client);
        POINT origin{0, 0};
        ClientToScreen(top, &origin);
        const auto style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE));
        return {{origin.x, origin.y, client.right, client.bottom},
                windowText(top),
                (style & WS_CAPTION) == WS_CAPTION,
                (style & WS_SYSMENU) != 0,
                (style & WS_MINIMIZEBOX) != 0,
                (style & WS_MAXIMIZEBOX) != 0,
                (style & WS_THICKFRAME) != 0,
                GetClassLongPtrW(top, GCLP_HICON) != 0};
    }

    ControlFacts controlFacts(Window& window, std::string_view control) override {
        HWND hwnd = hwndOf(window, control);
        const WindowLayout& layout = layoutOf(window);
        const auto tips = toolTipsOf(window, layout);
        const auto tip = tips.find(std::string(control));
        ControlFacts facts{rect(clientRect(hwnd, native(window).hwnd())),
                           IsWindowEnabled(hwnd) != FALSE,
                           (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0,
                           tip != tips.end() ? tip->second : "",
                           {},
                           false};
        const auto found = std::ranges::find(layout.controls, control, &ControlLayout::name);
        if (found->kind == ControlKind::Picture)
            readPicture(hwnd, found->caption, facts);
        return facts;
    }

    int listEntries(Window& window, std::string_view control) override {
        return static_cast<int>(SendMessageW(hwndOf(window, control), CB_GETCOUNT, 0, 0));
    }

    void tick(Window& window, std::string_view timer) override {
        SendMessageW(native(window).hwnd(), WM_TIMER, native(window).timerId(timer), 0);
    }

    // Only stopping a timer tells whether it ran; one that did is started again as it was.
    bool timerRuns(Window& window, std::string_view timer) override {
        HWND hwnd = native(window).hwnd();
        const UINT_PTR id = native(window).timerId(timer);
        if (!KillTimer(hwnd, id))
            return false;
        const auto layout =
            std::ranges::find(layoutOf(window).controls, timer, &ControlLayout::name);
        SetTimer(hwnd, id, static_cast<UINT>(layout->interval), nullptr);
        return true;
    }

    // The system does not tell a timer's interval.
    std::optional<int> timerInterval(Window&, std::string_view) override { return std::nullopt; }

    Rgb textColour(Window& window, std::string_view control) override {
        HWND label = hwndOf(window, control);
        HDC dc = GetDC(label);
        SendMessageW(native(window).hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label));
        const COLORREF colour = GetTextColor(dc);
        ReleaseDC(label, dc);
        return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    }

    bool underlined(Window& window, std::string_view control) override {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwndOf(window, control), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        return font.lfUnderline != 0;
    }

    bool busyPointer(Window& window) override {
        HWND hwnd = native(window).hwnd();
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
    }

    void requestPaint(Window& window) override {
        InvalidateRect(native(window).hwnd(), nullptr, TRUE);
    }

    std::function<int()> countPaints(Window& window) override {
        auto& count = *paints_.emplace_back(std::make_unique<std::atomic<int>>(0));
        SetWindowSubclass(native(window).hwnd(), countPaint, 1,
                          reinterpret_cast<DWORD_PTR>(&count));
        return [&count] { return count.load(); };
    }

    // A message box shows its text as it stands: there is no markup.
    ShownBox answerMessageBox(const std::function<void()>& open) override {
        ShownBox shown;
        withModal(
            [&shown](HWND box) {
                shown.title = windowText(box);
                shown.text = windowText(GetDlgItem(box, 0xFFFF));
                shown.icon = iconOf(box);
                shown.buttons = static_cast<int>(childrenOf(box, L"Button").size());
                shown.plainText = true;
                RECT place;
                GetWindowRect(box, &place);
                shown.place = rect(place);
                if (HWND owner = GetWindow(box, GW_OWNER))
                    shown.owner = windowText(owner);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] {
                open();
                return 0;
            });
        return shown;
    }

  private:
    void pressAndRelease(POINT screen, DWORD time) {
        INPUT input[3]{};
        for (INPUT& one : input) {
            one.type = INPUT_MOUSE;
            one.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            one.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            one.mi.time = time;
        }
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
        input[2].mi.time = time + 1;
        ASSERT_EQ(SendInput(3, input, sizeof(INPUT)), 3u);
        // Until the release has come through the loop.
        EXPECT_TRUE(settleUntil([] { return GetQueueStatus(QS_MOUSEBUTTON) == 0; }));
        toolkit_.processPending();
    }

    static LRESULT CALLBACK countPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR count) {
        if (message == WM_PAINT)
            ++*reinterpret_cast<std::atomic<int>*>(count);
        if (message == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, countPaint, id);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    Win32Toolkit toolkit_;
    std::vector<std::unique_ptr<std::atomic<int>>> paints_;  // outlive the windows they count
};

}  // namespace

std::unique_ptr<ToolkitDriver> makeToolkitDriver() {
    return std::make_unique<Win32Driver>();
}

}  // namespace morvane::ui::test
