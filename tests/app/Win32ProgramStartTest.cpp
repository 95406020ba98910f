// The windowed program's command line on Windows, run for real beside this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/host/win32/Utf16.h"
#include "tests/app/ProgramOptionCases.h"
#include "tests/support/WideTree.h"

namespace {

using morvane::win32::wide;

struct Outcome {
    DWORD status = 0;
    std::string out, err;
};

std::wstring besideThisProgram(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

HANDLE inheritedFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, CREATE_ALWAYS, 0, nullptr);
}

// Runs morvane.exe with `arguments`, its standard output and error into files of `streams`.
Outcome run(const std::vector<std::string>& arguments, const morvane::test::WideTree& streams) {
    const std::wstring program = besideThisProgram(L"morvane.exe");
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& argument : arguments)
        line += L" \"" + wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = inheritedFile(streams.path("out"));
    startup.hStdError = inheritedFile(streams.path("err"));
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        // A guard, not a wait: the program answers at once.
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &outcome.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start morvane.exe";
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    outcome.out = morvane::test::WideTree::readAbsolute(streams.path("out"));
    outcome.err = morvane::test::WideTree::readAbsolute(streams.path("err"));
    return outcome;
}

// Regression: the program took no option at all and opened its windows whatever it was given.
TEST(ProgramStart, TheCommandLineIsAnsweredWithoutAWindow) {
    for (const morvane::test::OptionCase& c : morvane::test::optionCases(MORVANE_VERSION)) {
        SCOPED_TRACE(c.arguments.front());
        const morvane::test::WideTree streams;
        const Outcome outcome = run(c.arguments, streams);
        EXPECT_EQ(outcome.status, static_cast<DWORD>(c.status));
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, c.err);
    }
}

}  // namespace
