#include "platform/ui/win32/Dpi.h"

namespace morvane::ui::win32 {

namespace {

template <class Function>
Function* user32Function(const char* name) {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // Through void (*)(), the function type that converts to any other without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFn = UINT WINAPI(HWND);
using GetDpiForSystemFn = UINT WINAPI();
using AdjustWindowRectExForDpiFn = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

unsigned screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int pixels(int twips, unsigned dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

unsigned dpiOf(HWND window) {
    static auto* const perWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (perWindow != nullptr && window != nullptr) {
        if (const UINT dpi = perWindow(window); dpi != 0)
            return dpi;
    }
    return systemDpi();
}

unsigned systemDpi() {
    static auto* const forSystem = user32Function<GetDpiForSystemFn>("GetDpiForSystem");
    return forSystem != nullptr ? forSystem() : screenDpi();
}

RECT outerRect(RECT client, DWORD style, DWORD exStyle, unsigned dpi) {
    static auto* const forDpi =
        user32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi == nullptr || !forDpi(&client, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

}  // namespace morvane::ui::win32
