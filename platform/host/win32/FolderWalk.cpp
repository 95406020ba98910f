#include "platform/host/win32/FolderWalk.h"

#include <windows.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <thread>

#include "platform/host/PendingFolders.h"
#include "platform/host/win32/Handle.h"
#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {
namespace {

constexpr unsigned kMinWalkers = 16;
constexpr unsigned kMaxWalkers = 32;

bool isDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// A link or a junction: an entry that names another place. Only for entries that are reparse
// points, whose tag the search puts in dwReserved0.
bool isLink(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(entry.dwReserved0);
}

// The search of one folder's entries: names only, fetched in large batches.
FindHandle findFirst(const std::wstring& folder, WIN32_FIND_DATAW& entry) {
    return FindHandle(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
}

// One thread's reading: whole folders, their files summed, their subfolders handed back (as paths
// below the root, in UTF-8, as the walk's queue holds them).
class Walker final : public FolderReader {
  public:
    explicit Walker(const std::wstring& root) : root_(root) {}

    std::uint64_t read(const std::string& folder, std::vector<std::string>& found) override {
        WIN32_FIND_DATAW entry;
        const std::wstring path = folder.empty() ? root_ : root_ + L"\\" + wide(folder);
        const FindHandle search = findFirst(path, entry);
        if (!search.valid())
            return 0;
        std::uint64_t total = 0;
        do {
            if (isDotOrDotDot(entry.cFileName) || isLink(entry))
                continue;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                const std::string name = narrow(entry.cFileName);
                found.push_back(folder.empty() ? name : folder + "\\" + name);
            } else {
                total +=
                    (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            }
        } while (FindNextFileW(search.get(), &entry));
        return total;
    }

  private:
    const std::wstring& root_;
};

// The processors this process may run on.
unsigned usableProcessors() {
    DWORD_PTR process = 0, system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0)
        return static_cast<unsigned>(std::popcount(static_cast<std::uint64_t>(process)));
    return std::thread::hardware_concurrency();
}

}  // namespace

unsigned walkerCount() {
    return std::clamp(usableProcessors(), kMinWalkers, kMaxWalkers);
}

std::optional<std::uint64_t> folderSize(const std::string& folder) {
    // The extended form throughout, so that no folder of the tree is too deep to name; without a
    // closing separator, which a drive root has, as names are joined to it with one.
    std::wstring root = extendedPath(folder);
    while (!root.empty() && root.back() == L'\\')
        root.pop_back();
    if (root.empty())
        return std::nullopt;
    if (WIN32_FIND_DATAW entry; !findFirst(root, entry).valid()) {
        // A drive root with nothing in it has no "." entry either.
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW((root + L"\\").c_str());
        if (error != ERROR_FILE_NOT_FOUND || attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return std::nullopt;
        }
    }
    return sumFolders("", walkerCount(), [&root] { return std::make_unique<Walker>(root); });
}

}  // namespace morvane::win32
