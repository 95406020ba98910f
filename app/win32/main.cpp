// morvane.exe: the four windows on Win32, from the start window to the removal verdict. A GUI
// program: no console window comes with it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Translate.h"
#include "platform/UserPlaces.h"
#include "platform/host/SystemHost.h"
#include "platform/host/win32/StreamText.h"
#include "platform/host/win32/Utf16.h"
#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32StateStore.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "platform/ui/win32/Win32Toolkit.h"
#include "windows/Program.h"

namespace {

// To the stream the starter gave the program, else to the console of the command prompt it was
// started from (in UTF-16, which shows Russian whatever the console's code page); with neither, in
// a message box.
bool print(DWORD which, const std::string& text, UINT icon) {
    HANDLE stream = GetStdHandle(which);
    HANDLE console = INVALID_HANDLE_VALUE;
    if ((stream == nullptr || stream == INVALID_HANDLE_VALUE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
        stream = console;
    }
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, morvane::win32::wide(text).c_str(), L"Morvane", MB_OK | icon);
        return true;
    }
    const bool whole = morvane::win32::writeText(stream, text);
    if (console != INVALID_HANDLE_VALUE)
        CloseHandle(console);
    return whole;
}

// Answers --help, --version and what the program does not take. Else nothing.
std::optional<int> answerCommandLine() {
    using morvane::app::Asked;
    const auto line = morvane::app::readCommandLine(morvane::win32::programArguments());
    switch (line.asked) {
        case Asked::Help:
            return print(STD_OUTPUT_HANDLE, morvane::app::usage(), MB_ICONINFORMATION)
                       ? morvane::app::kDone
                       : 1;
        case Asked::Version:
            return print(STD_OUTPUT_HANDLE, "morvane " MORVANE_VERSION "\n", MB_ICONINFORMATION)
                       ? morvane::app::kDone
                       : 1;
        case Asked::Unknown:
            print(STD_ERROR_HANDLE, line.complaint + morvane::app::usage(), MB_ICONEXCLAMATION);
            return morvane::app::kBadUsage;
        case Asked::Windows:
            break;
    }
    return std::nullopt;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // What it says on a console is in the user's language; its windows speak Russian (Program).
    morvane::i18n::useLanguage(morvane::userLanguages());
    if (const auto answered = answerCommandLine())
        return *answered;
    morvane::ui::Win32Toolkit toolkit;
    morvane::Win32FileHost host;
    morvane::Win32TreeReader reader;
    morvane::Win32StateStore store;
    morvane::ui::Program program(toolkit, {host, reader, store, morvane::userPlaces()});
    program.start();
    return toolkit.run();
}
