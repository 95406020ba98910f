#include "cli/Output.h"

#include <windows.h>

#include "platform/host/win32/Utf16.h"

namespace morvane::cli {
namespace {

HANDLE stream(int fd) {
    return GetStdHandle(fd == 0   ? STD_INPUT_HANDLE
                        : fd == 1 ? STD_OUTPUT_HANDLE
                                  : STD_ERROR_HANDLE);
}

bool isConsole(HANDLE handle) {
    DWORD mode;
    return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

// A stream without a handle (closed, or never given one) takes nothing.
Output::Output() {
    for (int fd = 0; fd < 3; ++fd) {
        const HANDLE handle = stream(fd);
        closed_[fd] = handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
}

// A console is written in UTF-16, which it shows whatever its code page, so Cyrillic folder names
// read right in cmd.exe; files and pipes get the UTF-8 text as it is.
void Output::write(int fd, std::string_view text) {
    if (closed_[fd]) {
        failed_ = failed_ || !text.empty();
        return;
    }
    const HANDLE handle = stream(fd);
    if (isConsole(handle)) {
        std::wstring rest = win32::wide(text);
        while (!rest.empty()) {
            DWORD written = 0;
            if (!WriteConsoleW(handle, rest.data(), static_cast<DWORD>(rest.size()), &written,
                               nullptr) ||
                written == 0) {
                failed_ = true;
                return;
            }
            rest.erase(0, written);
        }
        return;
    }
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0) {
            failed_ = true;
            return;
        }
        text.remove_prefix(written);
    }
}

}  // namespace morvane::cli
