// The windows as the Win32 layer builds them, beyond the toolkit contract: on another monitor's
// DPI, and their fonts.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "platform/ui/ControlRules.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"

namespace morvane::ui::test {
namespace {

const WindowLayout* const kAllWindows[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                           &form4Layout()};

// Twips to pixels: twips × dpi / 1440.
int pixels(int twips, unsigned dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT pixelRect(int left, int top, int width, int height, unsigned dpi) {
    return {pixels(left, dpi), pixels(top, dpi), pixels(left, dpi) + pixels(width, dpi),
            pixels(top, dpi) + pixels(height, dpi)};
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// Where a control stands in its window: its containers' places added to its own.
RECT layoutRect(const WindowLayout& window, const ControlLayout& control, unsigned dpi) {
    int left = control.left, top = control.top;
    for (std::string_view container = control.container; container != window.name;) {
        const auto frame = std::ranges::find(window.controls, container, &ControlLayout::name);
        left += frame->left;
        top += frame->top;
        container = frame->container;
    }
    return pixelRect(left, top, control.width, control.height, dpi);
}

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// The window and its controls at `dpi`. A monitor change is only pretended here: the title bar
// and borders stay those of 96 dpi, so only a window without them keeps its client size exact.
void checkWindow(Window& window, const WindowLayout& layout, unsigned dpi) {
    HWND top = native(window).hwnd();
    if (!layout.bordered) {
        RECT client;
        GetClientRect(top, &client);
        EXPECT_EQ(rectText({0, 0, client.right, client.bottom}),
                  rectText(pixelRect(0, 0, layout.width, layout.height, dpi)));
    }
    const auto style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE));
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, layout.bordered);
    EXPECT_EQ((style & WS_SYSMENU) != 0, layout.bordered) << "the close box";
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(windowText(top), layout.caption);
    EXPECT_NE(GetClassLongPtrW(top, GCLP_HICON), 0u) << "the icon is among the resources";
    std::map<std::string, std::string> expectedTips;
    for (const ControlLayout& control : layout.controls) {
        SCOPED_TRACE(std::string(control.name));
        if (control.kind == ControlKind::Timer)
            continue;
        HWND hwnd = hwndOf(window, control.name);
        EXPECT_EQ(GetParent(hwnd), top);
        EXPECT_EQ(rectText(clientRect(hwnd, top)), rectText(layoutRect(layout, control, dpi)));
        EXPECT_EQ(window.isVisible(control.name), control.visible);
        EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, control.enabled);
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0, takesFocus(control));
        if (!control.toolTip.empty())
            expectedTips[std::string(control.name)] = std::string(control.toolTip);
        if (control.kind != ControlKind::Picture) {
            EXPECT_EQ(window.text(control.name), control.caption);
            continue;
        }
        // A picture shows its bitmap whole, scaled.
        auto* shown = reinterpret_cast<HBITMAP>(SendMessageW(hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP size{};
        GetObjectW(shown, sizeof(size), &size);
        EXPECT_EQ(rectText({0, 0, size.bmWidth, size.bmHeight}),
                  rectText(pixelRect(0, 0, control.width, control.height, dpi)));
    }
    EXPECT_EQ(toolTipsOf(window, layout), expectedTips);
}

using Win32WindowLayout = Win32Test;

// After the window was moved to a monitor of 144 dpi (at 96 dpi the toolkit contract checks it):
// controls are children of the window itself, at their containers' places.
TEST_F(Win32WindowLayout, OnAMonitorOf144DpiEveryControlStandsWhereItsLayoutPutsIt) {
    for (const WindowLayout* layout : kAllWindows) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        HWND top = native(*window).hwnd();
        RECT outer;
        GetWindowRect(top, &outer);
        SendMessageW(top, kDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&outer));
        checkWindow(*window, *layout, 144);
    }
}

// White bold text on black wherever the layout says common look; the system's dialog font on the
// standard controls.
TEST_F(Win32WindowLayout, CommonLookControlsCarryTheBoldCyrillicFont) {
    for (const WindowLayout* layout : kAllWindows) {
        auto window = toolkit.createWindow(*layout, sink);
        for (const ControlLayout& control : layout->controls) {
            if (control.kind == ControlKind::Timer || control.kind == ControlKind::Picture)
                continue;
            SCOPED_TRACE(std::string(layout->name) + "." + std::string(control.name));
            HWND hwnd = hwndOf(*window, control.name);
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font),
                       &font);
            const bool common = control.look == Look::Common || control.look == Look::Highlight;
            EXPECT_EQ(font.lfWeight, common ? FW_BOLD : FW_NORMAL);
            if (common) {
                EXPECT_EQ(font.lfHeight, -13) << "9.75 pt at 96 dpi";
                EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
            }
            // The colours the window gives the control as it is drawn.
            HDC dc = GetDC(hwnd);
            SendMessageW(native(*window).hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(hwnd));
            if (control.look == Look::Common) {
                EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
                EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 0));
            }
            ReleaseDC(hwnd, dc);
        }
    }
}

}  // namespace
}  // namespace morvane::ui::test
