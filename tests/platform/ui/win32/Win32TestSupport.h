#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
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
