#pragma once

#include <windows.h>

#include <string>

#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/Utf16.h"

namespace morvane::test {

// A temporary folder for the Windows-only host tests, made and read through the wide calls in the
// extended form, so that Cyrillic names and paths beyond MAX_PATH work as they do for the host.
// Removed with everything below it, read-only files included; links are removed, not followed.
class WideTree {
  public:
    WideTree() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        for (unsigned n = GetTickCount();; ++n) {
            root_ = win32::narrow(temp) + "morvane-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(n);
            if (CreateDirectoryW(win32::extendedPath(root_).c_str(), nullptr))
                break;
        }
    }
    WideTree(const WideTree&) = delete;
    WideTree& operator=(const WideTree&) = delete;
    ~WideTree() { remove(win32::extendedPath(root_)); }

    // `relative` uses '\'.
    std::string path(const std::string& relative = {}) const {
        return relative.empty() ? root_ : root_ + "\\" + relative;
    }

    void makeDir(const std::string& relative) const {
        for (std::size_t end = 0; end != std::string::npos;) {
            end = relative.find('\\', end + 1);
            CreateDirectoryW(win32::extendedPath(path(relative.substr(0, end))).c_str(), nullptr);
        }
    }

    // Writes `content` to `relative`, creating the folders above it, with `attributes` set after.
    void write(const std::string& relative, const std::string& content,
               DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) const {
        if (const auto slash = relative.rfind('\\'); slash != std::string::npos)
            makeDir(relative.substr(0, slash));
        const std::wstring file = win32::extendedPath(path(relative));
        HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(out, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(out);
        SetFileAttributesW(file.c_str(), attributes);
    }

    // The content of `relative`, or "(none)" when it cannot be read.
    std::string read(const std::string& relative) const { return readAbsolute(path(relative)); }
    static std::string readAbsolute(const std::string& file) {
        // Shared for writing too: a program that wrote it may still hold it open for a moment.
        HANDLE in =
            CreateFileW(win32::extendedPath(file).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (in == INVALID_HANDLE_VALUE)
            return "(none)";
        std::string content(1 << 16, '\0');
        DWORD got = 0;
        ReadFile(in, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
        CloseHandle(in);
        content.resize(got);
        return content;
    }

    DWORD attributes(const std::string& relative) const {
        return GetFileAttributesW(win32::extendedPath(path(relative)).c_str());
    }

    // The names in a folder, "." and ".." left out, as one text.
    std::string list(const std::string& relative) const {
        std::string names;
        WIN32_FIND_DATAW entry;
        HANDLE found =
            FindFirstFileW((win32::extendedPath(path(relative)) + L"\\*").c_str(), &entry);
        if (found == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = win32::narrow(entry.cFileName);
            if (name != "." && name != "..")
                names += (names.empty() ? "" : " ") + name;
        } while (FindNextFileW(found, &entry));
        FindClose(found);
        return names;
    }

  private:
    static void remove(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        HANDLE found = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (found != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = folder + L"\\" + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    DeleteFileW(child.c_str());
                } else if (link) {
                    RemoveDirectoryW(child.c_str());
                } else {
                    remove(child);
                }
            } while (FindNextFileW(found, &entry));
            FindClose(found);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::string root_;
};

}  // namespace morvane::test
