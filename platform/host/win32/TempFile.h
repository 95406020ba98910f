#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Reason.h"
#include "platform/host/win32/Handle.h"

namespace morvane::win32 {

// A path in `folder` for a temporary entry to be put in place of `target` there, under a name no
// other run can choose (see TempNames.h).
std::wstring randomPath(const std::wstring& folder, const std::string& target);

// A file being written in `folder` to be put in place of `target` there, under a name no other run
// can choose (see TempNames.h); removed unless it was moved into place.
class TempFile {
  public:
    TempFile(const std::wstring& folder, const std::string& target);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();

    bool valid() const { return file_.valid(); }
    // Why the last step failed.
    const Reason& error() const { return error_; }

    // Writes the whole of `from`, or `bytes`, and flushes it to the disk.
    bool copyFrom(HANDLE from);
    bool write(std::string_view bytes);

    // Puts the file in place of `target`, replacing the entry there (a link itself, not what it
    // names), with MoveFileExW and write-through; on failure the file is removed.
    bool moveOver(const std::wstring& target);

  private:
    bool writeAll(const char* data, DWORD size);
    // Notes that `what` (marked with trMark) failed for the reason GetLastError gives.
    bool fail(std::string_view what);

    Handle file_;
    std::wstring path_;
    Reason error_;
};

}  // namespace morvane::win32
