// morvane-cli for Windows: the cleaning engine without windows, from cmd.exe or a script.
#include "cli/Driver.h"
#include "platform/host/win32/Utf16.h"

int main() {
    const std::vector<std::string> args = morvane::win32::programArguments();
    morvane::cli::Output output;
    const int status = morvane::cli::runDriver(args, output);
    return status == 0 && output.failed() ? 1 : status;
}
