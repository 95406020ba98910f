#pragma once

#include "platform/TreeReader.h"

namespace morvane {

// Reads the file system of a POSIX system; see TreeReader. Components are separated by '/'.
class PosixTreeReader : public TreeReader {
  public:
    char separator() const override { return '/'; }
    EntryKind kindOf(const std::string& path) override;
    EntryKind kindOfEntry(const std::string& path) override;
    std::optional<std::string> linkTarget(const std::string& path) override;
    FileRead readFile(const std::string& path, std::size_t limit) override;
    std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    std::optional<std::string> canonicalPath(const std::string& path) override;
    bool isAbsolute(const std::string& path) const override { return path.starts_with('/'); }
};

}  // namespace morvane
