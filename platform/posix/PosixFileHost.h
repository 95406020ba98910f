#pragma once

#include <optional>
#include <string>

#include "FileHost.h"

namespace morvane {

// The file operations on a POSIX system.
//  - The fixed relative paths use '/'; the game folder is used as given.
//  - Names are matched exactly, or else ignoring ASCII case when that picks out one entry.
//  - Read-only means no write bit; writable again means the owner's write bit back. A file
//    without the owner's write bit can be neither deleted nor copied onto, whoever runs us.
//  - A link at a target path is the entry itself: it is deleted or replaced, never followed.
//  - Copies go to a temporary file beside the destination and are renamed into place.
class PosixFileHost : public FileHost {
  public:
    void confineChangesTo(const std::string& folder) override;
    char separator() const override { return '/'; }
    Lookup lookupFile(const std::string& path) override;
    bool isReadableFile(const std::string& path) override;
    bool setAttributes(const std::string& path, Attributes value) override;
    bool deleteFile(const std::string& path) override;
    bool copyFile(const std::string& source, const std::string& destination) override;
    std::optional<std::uint64_t> folderSize(const std::string& folder) override;
    std::optional<std::string> programFolder() override;

  private:
    // Whether a change to the entry at (case-resolved) `path` stays inside the confined tree.
    bool mayChange(const std::string& path) const;

    bool confined_ = false;
    std::optional<std::string> root_;  // the confined tree, links resolved
};

// Suffix of the temporary file a copy is written to before it is renamed into place.
inline constexpr const char* kPartialSuffix = ".morvane-partial";

}  // namespace morvane
