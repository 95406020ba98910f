#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/win32/Win32Toolkit.h"
#include "platform/ui/win32/Win32Window.h"
#include "tests/support/RecordingSink.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui::test {

inline Win32Window& native(Window& window) {
    return static_cast<Win32Window&>(window);
}

inline HWND hwndOf(Window& window, std::string_view control) {
    return native(window).controlWindow(control);
}

// A control's rectangle in its window's client area.
inline RECT clientRect(HWND control, HWND window) {
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

inline std::string windowText(HWND hwnd) {
    wchar_t text[512];
    const int length = GetWindowTextW(hwnd, text, 512);
    return morvane::win32::narrow({text, static_cast<std::size_t>(length)});
}

// The windows of this program that are shown, by their captions.
inline std::vector<std::string> shownWindows() {
    std::vector<std::string> shown;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) {
            wchar_t className[32];
            GetClassNameW(hwnd, className, 32);
            if (IsWindowVisible(hwnd) && std::wstring_view(className) == L"MorvaneWindow")
                reinterpret_cast<std::vector<std::string>*>(list)->push_back(windowText(hwnd));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// Lets the message loop run until `done` holds; a guard of a few seconds, not a wait.
inline bool settle(Win32Toolkit& toolkit, const std::function<bool()>& done) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!done() && GetTickCount64() < deadline) {
        toolkit.processPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

// Every tool tip of a window, by the control it belongs to.
inline std::map<std::string, std::string> toolTipsOf(Window& window, const WindowLayout& layout) {
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

// The dialog box of this thread that is shown, if any.
inline HWND shownDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) {
            wchar_t className[16];
            GetClassNameW(hwnd, className, 16);
            if (IsWindowVisible(hwnd) && std::wstring_view(className) == L"#32770")
                *reinterpret_cast<HWND*>(result) = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs `act` on the dialog box that `open` shows, from within its modal loop, and returns what
// `open` returned. `act` answers false while the dialog is not ready for it yet. Fails the test
// instead of waiting when no dialog shows up.
template <typename Open>
auto withModal(std::function<bool(HWND)> act, Open open) {
    static std::function<bool(HWND)>* pending;
    static int tries;
    pending = &act;
    tries = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = shownDialog();
        if (dialog != nullptr && (*pending)(dialog)) {
            KillTimer(nullptr, id);
        } else if (++tries > 250) {
            KillTimer(nullptr, id);
            ADD_FAILURE() << "no dialog opened, or it never got ready";
            if (dialog != nullptr)
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    auto result = open();
    KillTimer(nullptr, timer);
    return result;
}

inline std::vector<HWND> childrenOf(HWND parent, const wchar_t* windowClass) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32];
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, windowClass) == 0)
            found.push_back(child);
    }
    return found;
}

// One toolkit per test; after each test no window of ours may be left on screen.
class Win32Test : public ::testing::Test {
  protected:
    void TearDown() override {
        toolkit.processPending();
        EXPECT_THAT(shownWindows(), ::testing::IsEmpty()) << "left open";
    }

    RecordingSink sink;
    Win32Toolkit toolkit;
};

}  // namespace morvane::ui::test
