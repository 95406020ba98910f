#include "platform/host/win32/StreamText.h"

#include <string>

#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {

bool writeText(HANDLE stream, std::string_view text) {
    DWORD mode;
    if (GetConsoleMode(stream, &mode)) {
        std::wstring rest = wide(text);
        while (!rest.empty()) {
            DWORD written = 0;
            if (!WriteConsoleW(stream, rest.data(), static_cast<DWORD>(rest.size()), &written,
                               nullptr) ||
                written == 0)
                return false;
            rest.erase(0, written);
        }
        return true;
    }
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace morvane::win32
