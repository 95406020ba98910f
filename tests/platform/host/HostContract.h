#pragma once

// What the host contract tests share. Written against FileHost and the standard library alone, so
// that the same tests build against every host: each platform supplies makeFileHost().
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/FileHost.h"
#include "platform/host/SystemHost.h"
#include "tests/support/TempTree.h"

namespace morvane::test {

// A temporary tree whose paths are also given as a host takes them: the relative part, written
// with '/', in the host's separator.
class ContractTree : public TempTree {
  public:
    using TempTree::path;
    std::string path(const FileHost& host, std::string relative) const {
        for (char& c : relative)
            c = c == '/' ? host.separator() : c;
        return relative.empty() ? root().string() : root().string() + host.separator() + relative;
    }

    void setReadOnly(const std::string& relative, bool readOnly) const {
        namespace fs = std::filesystem;
        fs::permissions(root() / relative,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        readOnly ? fs::perm_options::remove : fs::perm_options::add);
    }

    // Every entry below `relative`: its kind, permissions and content, so that two snapshots
    // differ exactly when something below changed.
    std::map<std::string, std::string> snapshot(const std::string& relative = {}) const {
        namespace fs = std::filesystem;
        std::map<std::string, std::string> entries;
        const fs::path top = root() / relative;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(top, ec), end; !ec && it != end;
             it.increment(ec)) {
            const fs::file_status status = it->symlink_status();
            std::string state = std::to_string(static_cast<int>(status.type())) + " " +
                                std::to_string(static_cast<unsigned>(status.permissions()));
            if (fs::is_symlink(status)) {
                state += " -> " + fs::read_symlink(it->path(), ec).string();
            } else if (fs::is_regular_file(status)) {
                state += " " + contentOf(it->path());
            }
            entries[fs::relative(it->path(), top).generic_string()] = state;
        }
        return entries;
    }
};

// The changes, as the tests name them. Permissions gives the file mode 0640 (on a host without
// modes: writable).
enum class Op { Normal, ReadOnly, Delete, Copy, Permissions };

inline ChangeResult apply(FileHost& host, Op op, const std::string& path,
                          const std::string& source) {
    switch (op) {
        case Op::Normal:
            return host.setAttributes(path, Attributes::Normal);
        case Op::ReadOnly:
            return host.setAttributes(path, Attributes::ReadOnly);
        case Op::Delete:
            return host.deleteFile(path);
        case Op::Copy:
            return host.copyFile(source, path);
        case Op::Permissions:
            return host.setPermissions(path, {0640, {}, {}, {}});
    }
    return {};
}

// How a change ended.
enum class Ended { Done, Absent, Failed };

inline const char* ended(const ChangeResult& result) {
    if (result.succeeded)
        return "done";
    EXPECT_FALSE(result.reason.empty()) << "a failure says why";
    return result.absent ? "absent" : "failed";
}

inline const char* name(Ended end) {
    return end == Ended::Done ? "done" : end == Ended::Absent ? "absent" : "failed";
}

}  // namespace morvane::test
