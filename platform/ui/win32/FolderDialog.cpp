#include "platform/ui/win32/FolderDialog.h"

#include <shlobj.h>

#include "platform/host/win32/Utf16.h"

namespace morvane::ui::win32 {

namespace {

using morvane::win32::narrow;
using morvane::win32::wide;

// Selects the start folder, handed over in lpData, as the dialog opens.
int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

}  // namespace

std::string browseForFolder(HWND owner, const std::string& title, const std::string& startFolder) {
    const std::wstring wideTitle = wide(title);
    const std::wstring start = wide(startFolder);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    if (!start.empty()) {
        info.lpfn = browseCallback;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    }
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr)
        return {};
    // The system allocates the path, so it is not cut at MAX_PATH as a fixed buffer would be.
    std::string result;
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetNameFromIDList(chosen, SIGDN_FILESYSPATH, &path))) {
        result = narrow(path);
        CoTaskMemFree(path);
    }
    CoTaskMemFree(chosen);
    return result;
}

}  // namespace morvane::ui::win32
