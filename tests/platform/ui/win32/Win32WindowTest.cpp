// The windows as the Win32 layer builds them from their layouts, at 96 dpi: geometry, looks,
// pictures, tool tips, stacking and the keyboard.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "platform/ui/ControlRules.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"
#include "tests/support/WindowScenes.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAreArray;

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

// Every tool tip of a window, by the control it belongs to.
std::map<std::string, std::string> toolTipsOf(Window& window, const WindowLayout& layout) {
    std::map<std::string, std::string> tips;
    HWND top = native(window).hwnd();
    HWND tipWindow = native(window).toolTips();
    const auto count = SendMessageW(tipWindow, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.lpszText = text;
        SendMessageW(tipWindow, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&tool));
        HWND owner = (tool.uFlags & TTF_IDISHWND) != 0
                         ? reinterpret_cast<HWND>(tool.uId)
                         : ChildWindowFromPoint(top, {(tool.rect.left + tool.rect.right) / 2,
                                                      (tool.rect.top + tool.rect.bottom) / 2});
        for (const ControlLayout& control : layout.controls) {
            if (control.kind == ControlKind::Timer)
                continue;
            HWND hwnd = hwndOf(window, control.name);
            if (owner == hwnd || GetParent(owner) == hwnd)
                tips[std::string(control.name)] = morvane::win32::narrow(text);
        }
    }
    return tips;
}

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

void checkWindow(Window& window, const WindowLayout& layout, unsigned dpi) {
    HWND top = native(window).hwnd();
    RECT client;
    GetClientRect(top, &client);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    // A monitor change is only pretended here: the title bar and borders stay those of 96 dpi,
    // so only a window without them keeps its client size exact.
    if (dpi == 96 || !layout.bordered) {
        EXPECT_EQ(rectText({0, 0, client.right, client.bottom}),
                  rectText(pixelRect(0, 0, layout.width, layout.height, dpi)));
    }
    if (dpi == 96) {
        EXPECT_EQ(rectText({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}),
                  rectText(pixelRect(layout.left, layout.top, layout.width, layout.height, dpi)));
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
        // A picture shows its bitmap, whole: at its natural size at 96 dpi, scaled elsewhere.
        auto* shown = reinterpret_cast<HBITMAP>(SendMessageW(hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP size{};
        GetObjectW(shown, sizeof(size), &size);
        EXPECT_EQ(rectText({0, 0, size.bmWidth, size.bmHeight}),
                  rectText(pixelRect(0, 0, control.width, control.height, dpi)));
        if (dpi != 96)
            continue;
        auto* resource = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), morvane::win32::wide(control.caption).c_str(),
                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(resource, nullptr) << "missing from the resources";
        EXPECT_TRUE(pixelsOf(shown) == pixelsOf(resource));
        DeleteObject(resource);
    }
    EXPECT_EQ(toolTipsOf(window, layout), expectedTips);
}

using Win32WindowLayout = Win32Test;

// At 96 dpi, where a pixel is 15 twips and the pictures show at their natural size, and after the
// window was moved to a monitor of 144 dpi.
TEST_F(Win32WindowLayout, EveryWindowAndControlStandsWhereItsLayoutPutsIt) {
    for (const unsigned dpi : {96u, 144u}) {
        for (const WindowLayout* layout : kAllWindows) {
            SCOPED_TRACE(std::string(layout->name) + " at " + std::to_string(dpi) + " dpi");
            auto window = toolkit.createWindow(*layout, sink);
            HWND top = native(*window).hwnd();
            RECT outer;
            GetWindowRect(top, &outer);
            if (dpi != 96)
                SendMessageW(top, kDpiChanged, MAKEWPARAM(dpi, dpi),
                             reinterpret_cast<LPARAM>(&outer));
            checkWindow(*window, *layout, dpi);
        }
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

// Pictures lie beneath the other controls; among the faces, the one shown is on top.
TEST_F(Win32WindowLayout, TheVisibleFaceAndTheBannerCaptionAreOnTop) {
    auto onTop = [](Window& window, std::string_view name) {
        HWND top = native(window).hwnd();
        const RECT area = clientRect(hwndOf(window, name), top);
        const POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        return ChildWindowFromPointEx(top, centre, CWP_SKIPINVISIBLE) == hwndOf(window, name);
    };
    for (const WindowLayout* layout : {&form2Layout(), &form3Layout(), &form4Layout()}) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        EXPECT_TRUE(onTop(*window, "Image1"));
        window->setVisible("Image2", true);
        EXPECT_TRUE(onTop(*window, "Image2"));
    }
    auto form1 = toolkit.createWindow(form1Layout(), sink);
    EXPECT_TRUE(onTop(*form1, "Label2"));
}

// Where the focus goes: the same rounds for every toolkit.
TEST_F(Win32WindowLayout, TheKeyboardVisitsTheOptionsInTabOrderAndNothingElse) {
    for (const morvane::test::TabRound& round : morvane::test::tabRounds()) {
        auto window = toolkit.createWindow(*round.layout, sink);
        window->show();
        ASSERT_TRUE(settle(toolkit, [&] { return GetActiveWindow() == native(*window).hwnd(); }));
        auto focusName = [&] {
            for (const ControlLayout& control : round.layout->controls) {
                if (control.kind != ControlKind::Timer &&
                    (GetFocus() == hwndOf(*window, control.name) ||
                     GetParent(GetFocus()) == hwndOf(*window, control.name)))
                    return std::string(control.name);
            }
            return std::string("(none)");
        };
        std::vector<std::string> order{focusName()};
        while (order.size() < round.focus.size()) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0);
            toolkit.processPending();
            order.push_back(focusName());
        }
        EXPECT_THAT(order, ElementsAreArray(round.focus));
        window->close();
    }
}

}  // namespace
}  // namespace morvane::ui::test
