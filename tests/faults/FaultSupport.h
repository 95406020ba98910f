#pragma once

// What the fault tests share: the demo game folder, tree snapshots, the driver as a child process,
// and scopes that send temporary trees to memory, change the working folder, or read as an
// ordinary user.
#include <fcntl.h>
#include <linux/capability.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/EngineRecord.h"
#include "platform/host/posix/PosixFileHost.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempTree.h"

extern char** environ;

namespace morvane::test {

namespace fs = std::filesystem;

// Writes `content` to `path`, creating the folders above it.
inline void writeFile(const fs::path& path, const std::string& content) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// One target file: its path below the game folder, its replacement's name (empty for the config
// files, which are deleted), and the advert the demo puts in it: longer than any replacement, and a
// different length for every target.
struct Target {
    std::string path;
    std::string replacement;
    std::string advert;
};

// The twenty targets in slot order; the first kAttributeSetSize form the attribute set.
inline const std::vector<Target> kDemoTargets = [] {
    std::vector<Target> all;
    for (const SlotInfo& slot : kSlots) {
        std::string path(slot.relative.substr(1));
        std::replace(path.begin(), path.end(), '\\', '/');
        std::string advert = "// connect 203.0.113.5:27015 - " + path + "\n";
        while (advert.size() < 4000 + 10 * path.size())
            advert += "say VISIT OUR SERVER 203.0.113.5\n";
        all.push_back({path, std::string(slot.replacement), advert});
    }
    return all;
}();

// A demo game folder at `tree`/`relative`: hl.exe, every target holding its advert, and ordinary
// game files. Beside it lies "outside/keep.txt", which no run may touch.
class DemoGame {
  public:
    explicit DemoGame(const TempTree& tree, const std::string& relative = "game")
        : folder_(tree.path(relative)) {
        tree.write("outside/keep.txt", "not part of the game\n");
        writeFile(path("hl.exe"), "MZ demo launcher\n");
        writeFile(path("cstrike/maps/de_demo.bsp"), std::string(3000, 'm'));
        writeFile(path("cstrike_russian/sound/s.wav"), std::string(700, 's'));
        resetTargets();
    }

    const std::string& folder() const { return folder_; }
    std::string path(const std::string& below) const { return folder_ + "/" + below; }

    // Puts every advert back, writable, whatever a run left there.
    void resetTargets() const {
        for (const Target& target : kDemoTargets) {
            ::unlink(path(target.path).c_str());
            writeFile(path(target.path), target.advert);
        }
    }

  private:
    std::string folder_;
};

// A record for `game` with every group chosen and both further options set.
inline EngineRecord everything(const std::string& game) {
    EngineRecord record;
    record.gameFolder = game;
    record.options.fill(true);
    record.blockServerMotd = true;
    record.readOnly = true;
    return record;
}

// One entry of a tree: 'f' file, 'd' folder, 'l' link or '?' anything else; its permission bits;
// and its bytes (a file) or its target (a link).
struct Entry {
    char kind = '?';
    mode_t mode = 0;
    std::string content;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

// Every entry below `root` that can be read, by path relative to it; links are not followed.
inline Snapshot snapshotOf(const std::string& root) {
    Snapshot all;
    std::error_code ec;
    const auto skip = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(root, skip, ec), end; it != end; it.increment(ec)) {
        struct stat st {};
        ::lstat(it->path().c_str(), &st);
        Entry entry{'?', static_cast<mode_t>(st.st_mode & 07777), ""};
        if (S_ISREG(st.st_mode))
            entry.content = contentOf(it->path());
        if (S_ISLNK(st.st_mode))
            entry = {'l', 0, fs::read_symlink(it->path(), ec).string()};
        entry.kind = S_ISREG(st.st_mode) ? 'f' : S_ISDIR(st.st_mode) ? 'd' : entry.kind;
        all[it->path().lexically_relative(root).string()] = entry;
    }
    return all;
}

// One line for every path whose entry differs, both states cut short; empty when they agree.
inline std::string differences(const Snapshot& expected, const Snapshot& actual) {
    auto describe = [](const Snapshot& snapshot, const std::string& path) {
        const auto found = snapshot.find(path);
        if (found == snapshot.end())
            return std::string("missing");
        const Entry& entry = found->second;
        char head[48];
        std::snprintf(head, sizeof head, "%c %04o, %zu bytes \"", entry.kind,
                      static_cast<unsigned>(entry.mode), entry.content.size());
        return head + entry.content.substr(0, 40) + "\"";
    };
    Snapshot paths = expected;
    paths.insert(actual.begin(), actual.end());
    std::string out;
    for (const auto& [path, entry] : paths) {
        if (!expected.contains(path) || !actual.contains(path) ||
            expected.at(path) != actual.at(path)) {
            out += "  " + path + ": expected " + describe(expected, path) + "; got " +
                   describe(actual, path) + "\n";
        }
    }
    return out;
}

// The temporary files of copies left below `root`, separated by spaces; empty when none.
inline std::string partialsIn(const std::string& root) {
    std::string found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; it != end; it.increment(ec)) {
        if (it->path().filename().string().ends_with(kPartialSuffix))
            found += it->path().string() + " ";
    }
    return found;
}

// Starts morvane-cli with `args`, its output written to the files `out` and `err`.
inline pid_t startCli(std::vector<std::string> args, const std::string& out = "/dev/null",
                      const std::string& err = "/dev/null") {
    return startProgram(MORVANE_CLI, std::move(args), out, err);
}

// Runs morvane-cli with `args` to its end and collects what it printed.
inline Outcome runCli(const std::vector<std::string>& args) {
    return runProgram(MORVANE_CLI, args);
}

// While it lives, temporary trees go to /dev/shm when it can be written: for tests that check
// which operations are made and what they leave, where flushing every copy to a busy disk would
// cost most of their time.
class TreesInMemory {
  public:
    TreesInMemory() {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        if (::access("/dev/shm", W_OK) == 0)
            ::setenv("TMPDIR", "/dev/shm", 1);
    }
    TreesInMemory(const TreesInMemory&) = delete;
    TreesInMemory& operator=(const TreesInMemory&) = delete;
    ~TreesInMemory() { old_ ? ::setenv("TMPDIR", old_->c_str(), 1) : ::unsetenv("TMPDIR"); }

  private:
    std::optional<std::string> old_;
};

// While it lives, relative paths start at `folder`: they reach below PATH_MAX, where whole paths
// are refused.
class InFolder {
  public:
    explicit InFolder(const std::string& folder) : back_(fs::current_path()) {
        fs::current_path(folder);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    ~InFolder() { fs::current_path(back_); }

  private:
    fs::path back_;
};

// While it lives, this thread, and the threads it starts, obey permission bits as an ordinary user
// does: root's power to read and search any folder is laid down, and taken up again at the end.
class AsOrdinaryReader {
  public:
    AsOrdinaryReader() {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        ::syscall(SYS_capset, &header_, lowered);
    }
    AsOrdinaryReader(const AsOrdinaryReader&) = delete;
    AsOrdinaryReader& operator=(const AsOrdinaryReader&) = delete;
    ~AsOrdinaryReader() { ::syscall(SYS_capset, &header_, saved_); }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

}  // namespace morvane::test
