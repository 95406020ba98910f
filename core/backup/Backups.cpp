#include "core/backup/Backups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/backup/Sha256.h"
#include "core/game/GameLayout.h"
#include "core/text/AsciiText.h"

namespace morvane::backup {
namespace {

constexpr const char* kManifestName = "manifest";
constexpr const char* kStagingFolder = "staging";

// Ids of backups: a time, and a number when there is more than one in a second. Names of other
// kinds found in the folder are not backups.
bool isBackupId(const std::string& name) {
    return name.size() >= 16 && name[8] == 'T' && name[15] == 'Z' &&
           std::all_of(name.begin(), name.begin() + 8, [](char c) { return c >= '0' && c <= '9'; });
}

std::string utcText(std::time_t time, const char* format) {
    char text[32] = "";
    if (const std::tm* utc = std::gmtime(&time))
        std::strftime(text, sizeof text, format, utc);
    return text;
}

std::string compactTime(std::time_t time) {
    return utcText(time, "%Y%m%dT%H%M%SZ");
}

// `relative` ('/' separated) below the resolved path `folder`. A resolved root keeps its one
// separator ("D:\", "/"), so no second one is added after it.
std::string belowResolved(const std::string& folder, const std::string& relative, char separator) {
    if (!folder.empty() && folder.back() == separator)
        return below(folder.substr(0, folder.size() - 1), relative, separator);
    return below(folder, relative, separator);
}

// Whether the folder holding `file`, or the file itself, resolves to somewhere other than where
// its path below the game folder says: a link on the way or at the file, whether the reader shows
// it as one or not (a Unix link seen through Wine is not). False when it cannot be told.
bool reachedElsewhere(TreeReader& reader, const std::string& game, const std::string& file) {
    const auto realGame = reader.canonicalPath(game);
    if (!realGame)
        return false;
    const char sep = reader.separator();
    const auto resolvesElsewhere = [&](const std::string& relative) {
        const auto real = reader.canonicalPath(below(game, relative, sep));
        return real && !equalsIgnoringCase(*real, belowResolved(*realGame, relative, sep));
    };
    const std::size_t slash = file.rfind('/');
    return (slash != std::string::npos && resolvesElsewhere(file.substr(0, slash))) ||
           resolvesElsewhere(file);
}

// The game folder's path as its backups are filed under: the resolved path, or the path as given
// when it cannot be resolved, with doubled separators folded (but for the two that open a network
// path) and a trailing one dropped (but for a root's), so that "E:\sub\", "E:\\sub" and "E:\sub"
// share their backups as they share their resolved path.
std::string backupKey(const std::string& game, char separator) {
    std::string key;
    for (std::size_t i = 0; i < game.size(); ++i) {
        if (game[i] != separator || i < 2 || key.back() != separator)
            key += game[i];
    }
    while (key.size() > 1 && key.back() == separator && key[key.size() - 2] != ':' &&
           key[key.size() - 2] != separator) {
        key.pop_back();
    }
    return key;
}

}  // namespace

std::string isoTime(std::time_t time) {
    return utcText(time, "%Y-%m-%dT%H:%M:%SZ");
}

StateRead readState(TreeReader& reader, const std::string& game, const std::string& file) {
    StateRead read;
    const std::string path = below(game, file, reader.separator());
    if (reachedElsewhere(reader, game, file) || reader.kindOfEntry(path) == EntryKind::Link) {
        read.state = {true, true, 0, {}, {}};
        return read;
    }
    const EntryKind kind = reader.kindOf(path);
    if (kind == EntryKind::Missing || kind == EntryKind::Folder)
        return read;
    FileRead got = reader.readFile(path, kMaxBackedUpFile);
    if (!got.bytes) {
        read.error = got.error;
        return read;
    }
    read.bytes = std::move(*got.bytes);
    read.state = {true, false, read.bytes.size(), sha256Hex(read.bytes), got.permissions};
    return read;
}

GameBackups::GameBackups(TreeReader& reader, StateStore& store, const std::string& backups,
                         const std::string& canonicalGame)
    : reader_(reader),
      store_(store),
      folder_(below(backups, sha256Hex(backupKey(canonicalGame, reader.separator())).substr(0, 16),
                    reader.separator())) {}

std::string GameBackups::pathOf(const std::string& id, const std::string& inside) const {
    const std::string run = below(folder_, id, reader_.separator());
    return inside.empty() ? run : below(run, inside, reader_.separator());
}

std::vector<std::string> GameBackups::ids() const {
    std::vector<std::string> ids;
    if (const auto entries = reader_.listFolder(folder_)) {
        for (const FolderEntry& entry : *entries) {
            if (entry.kind == EntryKind::Folder && isBackupId(entry.name))
                ids.push_back(entry.name);
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

GameBackups::Created GameBackups::create(std::time_t now) {
    if (const ChangeResult made = store_.makeFolders(folder_); !made.succeeded)
        return {{}, made.reason};
    const std::string base = compactTime(now);
    for (int n = 1; n < 1000; ++n) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "-%03d", n);
        const std::string id = n == 1 ? base : base + suffix;
        const ChangeResult made = store_.makeNewFolder(pathOf(id));
        if (made.succeeded) {
            const ChangeResult files = store_.makeFolders(pathOf(id, "files"));
            return files.succeeded ? Created{id, {}} : Created{{}, files.reason};
        }
        if (!made.absent)
            return {{}, made.reason};
    }
    return {{}, "too many backups in one second"};
}

void GameBackups::remove(const std::string& id) {
    store_.removeTree(pathOf(id));
}

ChangeResult GameBackups::writeCopy(const std::string& id, std::size_t index,
                                    const std::string& bytes) {
    return store_.writeFile(copyPath(id, index), bytes);
}

ChangeResult GameBackups::writeManifest(const std::string& id, const Manifest& manifest) {
    return store_.writeFile(pathOf(id, kManifestName), formatManifest(manifest));
}

std::variant<std::string, ChangeResult> GameBackups::stage(const std::string& name,
                                                           const std::string& bytes) {
    const std::string staging = below(folder_, kStagingFolder, reader_.separator());
    if (const ChangeResult made = store_.makeFolders(staging); !made.succeeded)
        return made;
    const std::string path = below(staging, name, reader_.separator());
    if (const ChangeResult written = store_.writeFile(path, bytes); !written.succeeded)
        return written;
    return path;
}

void GameBackups::dropStaged() {
    store_.removeTree(below(folder_, kStagingFolder, reader_.separator()));
}

std::variant<Manifest, std::string> GameBackups::manifest(const std::string& id) const {
    const FileRead text = reader_.readFile(pathOf(id, kManifestName), kMaxBackedUpFile);
    if (!text.bytes)
        return "its manifest cannot be read: " + text.error;
    return parseManifest(*text.bytes);
}

std::string GameBackups::copyPath(const std::string& id, std::size_t index) const {
    return pathOf(id, storedCopyName(index));
}

void GameBackups::prune() {
    const std::vector<std::string> all = ids();
    for (std::size_t i = 0; i + kKeptBackups < all.size(); ++i)
        store_.removeTree(pathOf(all[i]));
}

}  // namespace morvane::backup
