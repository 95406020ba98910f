#pragma once

#include <windows.h>

#include <ctime>
#include <string>

#include "platform/host/win32/Handle.h"
#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/SystemError.h"
#include "tests/support/UnderWine.h"

namespace morvane::test {

// A free drive letter whose root is a folder of the test's, for as long as the object lives, so
// that a game folder can be a drive's root ("M:\"). On Windows it is defined as subst defines one
// (whose final paths stay the folder's own); under Wine, which does not look at such definitions,
// as a link in the prefix's dosdevices folder, which makes it a drive of its own, final paths
// included. Test programs running side by side take turns.
class DriveLetter {
  public:
    explicit DriveLetter(const std::string& folder)
        : turn_(CreateMutexW(nullptr, FALSE, L"Local\\Morvane.Test.DriveLetter")) {
        WaitForSingleObject(turn_, INFINITE);
        const DWORD taken = GetLogicalDrives();
        for (char letter = 'Y'; letter >= 'M' && letter_ == 0; --letter) {
            if ((taken & (1u << (letter - 'A'))) == 0)
                letter_ = letter;
        }
        if (letter_ == 0)
            return;
        const std::wstring target = win32::extendedPath(folder).substr(4);  // without "\\?\"
        if (DefineDosDeviceW(0, drive().c_str(), target.c_str())) {
            if (visible()) {
                defined_ = true;
                return;
            }
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive().c_str(), nullptr);
        }
        const auto unixFolder = wine::unixPath(folder), unixC = wine::unixPath("C:\\");
        if (unixFolder && unixC) {
            // "…/dosdevices/c:/" names the folder of every drive's link.
            link_ = unixC->substr(0, unixC->find_last_of('/', unixC->size() - 2) + 1) +
                    static_cast<char>(letter_ - 'A' + 'a') + ":";
            // Then, as on a drive of its own, Wine names what lies there by the letter, once it
            // reads its drives again (see ~DriveLetter).
            wine::runUnix("ln", {"-s", *unixFolder, link_}, [this] { return namedByLetter(); });
        }
    }
    DriveLetter(const DriveLetter&) = delete;
    DriveLetter& operator=(const DriveLetter&) = delete;
    ~DriveLetter() {
        if (defined_)
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive().c_str(), nullptr);
        if (!link_.empty()) {
            wine::runUnix("rm", {"-f", link_}, [this] { return !visible(); });
            // Each Wine process keeps its drives' identities for the rest of the second it read
            // them in: till then it would name the mapped folder, or a folder made in its place
            // once it is removed, by this letter.
            const std::time_t removed = std::time(nullptr);
            wine::waitFor([removed] { return std::time(nullptr) > removed; });
        }
        ReleaseMutex(turn_);
        CloseHandle(turn_);
    }

    // Whether the letter leads to the folder.
    bool mapped() const { return letter_ != 0 && visible(); }
    // "M:\".
    std::string root() const { return std::string(1, letter_) + ":\\"; }

  private:
    bool namedByLetter() const {
        const win32::Handle root(CreateFileW((drive() + L"\\").c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return root.valid() && win32::finalPathOf(root.get()).starts_with(L"\\\\?\\" + drive());
    }
    std::wstring drive() const { return std::wstring(1, static_cast<wchar_t>(letter_)) + L":"; }
    bool visible() const {
        return GetFileAttributesW((drive() + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    HANDLE turn_;
    char letter_ = 0;
    bool defined_ = false;
    std::string link_;  // under Wine: the Unix path of the drive's link
};

}  // namespace morvane::test
