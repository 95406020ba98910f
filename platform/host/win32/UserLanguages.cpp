#include <windows.h>

#include "platform/host/SystemHost.h"
#include "platform/host/win32/Utf16.h"

namespace morvane {
namespace {

// "ru-RU" as the catalogs name it: "ru_RU".
std::string tagOf(std::wstring_view name) {
    std::string tag = win32::narrow(name);
    for (char& c : tag)
        c = c == '-' ? '_' : c;
    return tag;
}

}  // namespace

// The user's display languages, as Windows' own programs choose theirs: those of the Settings'
// language list, or the one display language where the system has no list.
std::vector<std::string> userLanguages() {
    ULONG count = 0, length = 0;
    std::vector<std::string> tags;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) && length > 0) {
        std::wstring names(length, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) {
            for (const wchar_t* name = names.c_str(); *name != L'\0'; name += wcslen(name) + 1)
                tags.push_back(tagOf(name));
        }
    }
    if (tags.empty()) {
        wchar_t name[LOCALE_NAME_MAX_LENGTH];
        if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                             LOCALE_NAME_MAX_LENGTH, 0) > 0)
            tags.push_back(tagOf(name));
    }
    return tags;
}

}  // namespace morvane
