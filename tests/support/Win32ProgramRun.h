#pragma once

// The one way the Windows tests run a built program beside them (the windowed program, the
// driver): its standard output and error sent to files of a WideTree, and collected.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/host/win32/Utf16.h"
#include "tests/support/WideTree.h"

namespace morvane::test {

struct Win32Outcome {
    DWORD status = 0;
    std::string out, err;
};

inline std::wstring besideThisProgram(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

inline HANDLE inheritedFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(win32::wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, CREATE_ALWAYS, 0, nullptr);
}

// Runs `name` (beside this test program) with `arguments` to its end, its standard output and error
// into files of `streams`.
inline Win32Outcome runBeside(const std::wstring& name, const std::vector<std::string>& arguments,
                              const WideTree& streams) {
    const std::wstring program = besideThisProgram(name);
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& argument : arguments)
        line += L" \"" + win32::wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = inheritedFile(streams.path("out"));
    startup.hStdError = inheritedFile(streams.path("err"));
    PROCESS_INFORMATION process{};
    Win32Outcome outcome;
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        // A guard, not a wait: the programs answer at once.
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &outcome.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << win32::narrow(name);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    outcome.out = WideTree::readAbsolute(streams.path("out"));
    outcome.err = WideTree::readAbsolute(streams.path("err"));
    return outcome;
}

}  // namespace morvane::test
