#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/Utf16.h"

namespace morvane::test {

// What a Windows test asks of the Unix system below Wine, which Wine's own calls do not do: Wine 8
// makes no symbolic link (CreateSymbolicLinkW only pretends), and finds its drives as links in its
// prefix's dosdevices folder, not among DefineDosDeviceW's definitions. Wine's own extensions tell
// Unix paths and DOS paths apart, and a Unix program is run as Wine runs any program.
namespace wine {

// The Unix path of a Windows path, under Wine; nothing elsewhere.
inline std::optional<std::string> unixPath(const std::string& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return std::nullopt;
    char* name = toUnix(win32::extendedPath(path).c_str());
    if (name == nullptr)
        return std::nullopt;
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Whether the program runs under Wine.
inline bool running() {
    return GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name") != nullptr;
}

// Waits up to ten seconds for `done` to hold.
inline bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Runs the Unix program /bin/`program` with `arguments`, and waits until `done` holds: Wine starts
// a Unix program but gives no handle to wait on. Arguments are quoted, so they hold no quote.
inline bool runUnix(const std::string& program, const std::vector<std::string>& arguments,
                    const std::function<bool()>& done) {
    using ToDos = wchar_t*(CDECL*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
    wchar_t* dosProgram = toDos != nullptr ? toDos(("/bin/" + program).c_str()) : nullptr;
    if (dosProgram == nullptr)
        return false;
    std::wstring command = L"\"" + std::wstring(dosProgram) + L"\"";
    HeapFree(GetProcessHeap(), 0, dosProgram);
    for (const std::string& argument : arguments)
        command += L" \"" + win32::wide(argument) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    return waitFor(done);
}

// A Unix symbolic link at `at` to `target` (Windows paths) for as long as the object lives, under
// Wine; none elsewhere. Removed by Unix as well: Wine would delete what it leads to.
class UnixLink {
  public:
    UnixLink(const std::string& at, const std::string& target) : at_(at) {
        const auto unixAt = unixPath(at), unixTarget = unixPath(target);
        if (unixAt && unixTarget) {
            unixAt_ = *unixAt;
            made_ = runUnix("ln", {"-s", *unixTarget, unixAt_}, [this] { return there(); });
        }
    }
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;
    ~UnixLink() {
        if (!unixAt_.empty())
            runUnix("rm", {"-f", unixAt_}, [this] { return !there(); });
    }

    bool made() const { return made_; }

  private:
    bool there() const {
        return GetFileAttributesW(win32::extendedPath(at_).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string at_, unixAt_;
    bool made_ = false;
};

}  // namespace wine
}  // namespace morvane::test
