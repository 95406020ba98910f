#pragma once

#include "platform/TreeReader.h"

namespace morvane {

// Reads the file system of Windows through the wide calls; see TreeReader. Components are
// separated by '\'; names are matched as NTFS matches them, without regard to case. A link is a
// symbolic link or a junction. Permissions are the read-only attribute as a mode (0444 or 0644)
// and the file's whole attribute set.
class Win32TreeReader : public TreeReader {
  public:
    char separator() const override { return '\\'; }
    EntryKind kindOf(const std::string& path) override;
    EntryKind kindOfEntry(const std::string& path) override;
    // A symbolic link's target as its maker gave it; none for a junction.
    std::optional<std::string> linkTarget(const std::string& path) override;
    FileRead readFile(const std::string& path, std::size_t limit) override;
    std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    std::optional<std::string> canonicalPath(const std::string& path) override;
    bool isAbsolute(const std::string& path) const override;
};

}  // namespace morvane
