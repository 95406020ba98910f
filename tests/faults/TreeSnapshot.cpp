#include "TreeSnapshot.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

EntryState stateOf(const fs::path& path) {
    EntryState state;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return state;
    state.mode = st.st_mode & 07777;
    if (S_ISREG(st.st_mode)) {
        state.kind = 'f';
        state.content = fileContent(path);
    } else if (S_ISDIR(st.st_mode)) {
        state.kind = 'd';
    } else if (S_ISLNK(st.st_mode)) {
        state.kind = 'l';
        state.content = fs::read_symlink(path).string();
        state.mode = 0;  // meaningless for a link
    }
    return state;
}

std::string describe(const Snapshot& snapshot, const std::string& path) {
    const auto found = snapshot.find(path);
    if (found == snapshot.end())
        return "missing";
    const EntryState& state = found->second;
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(state.mode));
    return std::string(1, state.kind) + " mode " + mode + ", " +
           std::to_string(state.content.size()) + " bytes \"" + state.content.substr(0, 40) + "\"";
}

}  // namespace

Snapshot snapshotOf(const std::string& root) {
    Snapshot snapshot;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        snapshot[fs::relative(it->path(), root).string()] = stateOf(it->path());
    }
    return snapshot;
}

std::string differences(const Snapshot& expected, const Snapshot& actual) {
    std::string out;
    auto note = [&](const std::string& path) {
        out += "  " + path + ": expected " + describe(expected, path) + "; got " +
               describe(actual, path) + "\n";
    };
    for (const auto& [path, state] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end() || !(found->second == state))
            note(path);
    }
    for (const auto& [path, state] : actual) {
        if (!expected.contains(path))
            note(path);
    }
    return out;
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string pathsEndingIn(const std::string& root, const std::string& suffix) {
    std::string out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            out += it->path().string() + " ";
        }
    }
    return out;
}

}  // namespace morvane::test
