#pragma once

// What the host contract tests share. Written against FileHost and the standard library alone, so
// that the same tests build against every host: each platform supplies makeHost().
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "FileHost.h"
#include "TargetTable.h"

namespace morvane::test {

// A new host of the platform under test.
std::unique_ptr<FileHost> makeHost();

// A temporary folder, removed with everything below it. Paths below it are written with
// backslashes, as the engine's relative paths are, and turned into the host's separator.
class ContractTree {
  public:
    ContractTree() {
        namespace fs = std::filesystem;
        std::random_device random;
        do {
            root_ = fs::temp_directory_path() / ("morvane-host-" + std::to_string(random()));
        } while (!fs::create_directory(root_));
    }
    ContractTree(const ContractTree&) = delete;
    ContractTree& operator=(const ContractTree&) = delete;
    ~ContractTree() {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root_, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (!it->is_symlink())
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::remove_all(root_, ec);
    }

    // `relative` (backslash separators, none in front) below the root, for `host`.
    std::string path(const FileHost& host, std::string_view relative = {}) const {
        return relative.empty()
                   ? root_.string()
                   : joinPath(root_.string(), "\\" + std::string(relative), host.separator());
    }
    std::filesystem::path native(std::string_view relative) const {
        std::string path(relative);
        for (char& c : path)
            c = c == '\\' ? '/' : c;
        return root_ / std::filesystem::path(path).make_preferred();
    }

    void write(std::string_view relative, const std::string& content) const {
        std::filesystem::create_directories(native(relative).parent_path());
        std::ofstream(native(relative), std::ios::binary) << content;
    }
    void makeDir(std::string_view relative) const {
        std::filesystem::create_directories(native(relative));
    }
    std::string read(std::string_view relative) const {
        std::ifstream in(native(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void setReadOnly(std::string_view relative, bool readOnly) const {
        namespace fs = std::filesystem;
        fs::permissions(native(relative),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        readOnly ? fs::perm_options::remove : fs::perm_options::add);
    }

    // Every entry below `relative`: its kind, permissions and content, so that two snapshots
    // differ exactly when something below changed.
    std::map<std::string, std::string> snapshot(std::string_view relative = {}) const {
        namespace fs = std::filesystem;
        std::map<std::string, std::string> entries;
        const fs::path top = relative.empty() ? root_ : native(relative);
        std::error_code ec;
        for (fs::recursive_directory_iterator it(top, ec), end; !ec && it != end;
             it.increment(ec)) {
            const fs::file_status status = it->symlink_status();
            std::string state = std::to_string(static_cast<int>(status.type())) + " " +
                                std::to_string(static_cast<unsigned>(status.permissions()));
            if (fs::is_symlink(status)) {
                state += " -> " + fs::read_symlink(it->path(), ec).string();
            } else if (fs::is_regular_file(status)) {
                std::ifstream in(it->path(), std::ios::binary);
                state += " " + std::string(std::istreambuf_iterator<char>(in), {});
            }
            entries[fs::relative(it->path(), top).string()] = state;
        }
        return entries;
    }

  private:
    std::filesystem::path root_;
};

// How a change ended.
enum class Ended { Done, Absent, Failed };

inline Ended ended(const ChangeResult& result) {
    if (result.succeeded)
        return Ended::Done;
    EXPECT_NE(result.reason, "") << "a failure says why";
    return result.absent ? Ended::Absent : Ended::Failed;
}

inline const char* name(Ended end) {
    return end == Ended::Done ? "done" : end == Ended::Absent ? "absent" : "failed";
}

}  // namespace morvane::test
