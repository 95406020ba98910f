// morvane-cli for Windows: the cleaning engine without windows, from cmd.exe or a script.
#include <windows.h>

#include <shellapi.h>

#include "cli/Driver.h"
#include "platform/host/win32/Utf16.h"

int main() {
    // The arguments as the system holds them, in UTF-16: the C runtime's argv is in the ANSI code
    // page, which cannot carry every folder name (a Cyrillic one on a Western system).
    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* wideArgs = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(morvane::win32::narrow(wideArgs[i]));
        LocalFree(wideArgs);
    }
    morvane::cli::Output output;
    const int status = morvane::cli::runDriver(args, output);
    return status == 0 && output.failed() ? 1 : status;
}
