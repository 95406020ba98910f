#include "platform/ui/win32/MessageBox.h"

#include <algorithm>

namespace morvane::ui::win32 {

namespace {

// The box being shown on this thread and the hook that moves it; one at a time, as they are modal.
thread_local HWND boxOwner = nullptr;
thread_local HHOOK boxHook = nullptr;

// `box` centred over `owner`, kept inside the work area of the owner's monitor.
void centre(HWND box, HWND owner) {
    RECT boxRect, ownerRect;
    GetWindowRect(box, &boxRect);
    GetWindowRect(owner, &ownerRect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG width = boxRect.right - boxRect.left;
    const LONG height = boxRect.bottom - boxRect.top;
    const LONG left = (ownerRect.left + ownerRect.right - width) / 2;
    const LONG top = (ownerRect.top + ownerRect.bottom - height) / 2;
    SetWindowPos(box, nullptr, std::clamp(left, work.left, std::max(work.left, work.right - width)),
                 std::clamp(top, work.top, std::max(work.top, work.bottom - height)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box is first activated once it is laid out, before it is painted.
LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = boxHook;
    if (code == HCBT_ACTIVATE) {
        wchar_t className[8] = L"";
        GetClassNameW(reinterpret_cast<HWND>(wParam), className, 8);
        if (std::wstring_view(className) == L"#32770") {
            centre(reinterpret_cast<HWND>(wParam), boxOwner);
            UnhookWindowsHookEx(hook);
            boxHook = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void showMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) {
    if (owner != nullptr && IsWindowVisible(owner)) {
        boxOwner = owner;
        boxHook = SetWindowsHookExW(WH_CBT, onActivate, nullptr, GetCurrentThreadId());
    }
    MessageBoxW(owner, text.c_str(), title.c_str(), style);
    if (boxHook != nullptr) {
        UnhookWindowsHookEx(boxHook);  // the box never came up
        boxHook = nullptr;
    }
}

}  // namespace morvane::ui::win32
