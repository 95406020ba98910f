#include "cli/Output.h"

#include <windows.h>

#include "platform/host/win32/StreamText.h"

namespace morvane::cli {
namespace {

HANDLE stream(int fd) {
    return GetStdHandle(fd == 0   ? STD_INPUT_HANDLE
                        : fd == 1 ? STD_OUTPUT_HANDLE
                                  : STD_ERROR_HANDLE);
}

}  // namespace

// A stream without a handle (closed, or never given one) takes nothing.
Output::Output() {
    for (int fd = 0; fd < 3; ++fd) {
        const HANDLE handle = stream(fd);
        closed_[fd] = handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
}

// A console is written in UTF-16, which it shows whatever its code page, so Russian texts and
// Cyrillic folder names read right in cmd.exe; files and pipes get the UTF-8 text as it is.
void Output::write(int fd, std::string_view text) {
    if (closed_[fd]) {
        failed_ = failed_ || !text.empty();
        return;
    }
    if (!win32::writeText(stream(fd), text))
        failed_ = true;
}

}  // namespace morvane::cli
