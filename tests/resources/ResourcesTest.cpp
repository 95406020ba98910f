// What the resources give every Windows program of the project: its version, its icons, and a
// manifest that the system acts on (common controls 6, per-monitor DPI).
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/win32/ResourceIds.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"

namespace morvane::ui::test {
namespace {

std::string fileVersion() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<char> data(GetFileVersionInfoSizeW(self, nullptr));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !GetFileVersionInfoW(self, 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length)) {
        return "(none)";
    }
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionLS));
}

TEST(Resources, EveryProgramCarriesTheVersionTheIconsAndAManifestTheSystemFollows) {
    EXPECT_EQ(fileVersion(), MORVANE_VERSION);
    for (const int icon : {MORVANE_PROGRAM_ICON_ID, MORVANE_WINDOW_ICON_ID}) {
        EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon), IMAGE_ICON, 32, 32,
                             LR_SHARED),
                  nullptr)
            << icon;
    }
    // The manifest is acted on: the common controls are version 6, from the side-by-side store
    // (WinSxS), not the system folder's version 5. (Wine's version 6 calls itself 5.81.)
    // Loaded here by name, as a program that draws controls loads it.
    wchar_t loaded[MAX_PATH] = L"";
    GetModuleFileNameW(LoadLibraryW(L"comctl32.dll"), loaded, MAX_PATH);
    const std::string path = morvane::win32::narrow(loaded);
    EXPECT_NE(path.find("common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
    HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string_view text(
        static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
        SizeofResource(nullptr, manifest));
    for (const char* setting : {"asInvoker", "PerMonitorV2", "longPathAware"})
        EXPECT_NE(text.find(setting), std::string_view::npos) << setting;
    EXPECT_NE(text.find("version=\"" MORVANE_VERSION "\""), std::string_view::npos);
}

}  // namespace
}  // namespace morvane::ui::test
