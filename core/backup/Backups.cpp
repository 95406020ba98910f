#include "core/backup/Backups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <tuple>
#include <utility>

#include "core/backup/Sha256.h"
#include "core/game/GameLayout.h"
#include "core/text/AsciiText.h"

namespace morvane::backup {
namespace {

constexpr const char* kBackupName = "backup";
constexpr const char* kFirstManifestName = "manifest";  // of the first format
constexpr const char* kFirstCopiesName = "files";       // of the first format
// What a backup's folder holds of it, in either format: where none of these is, there is none.
constexpr const char* kKept[] = {kBackupName, kFirstManifestName, kFirstCopiesName};
constexpr const char* kStagingFolder = "staging";
// The copies and the manifest's lines for every one of them.
constexpr std::size_t kMaxBackupFile = kMaxCopies + (32u << 20);

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

// Where the file `file` below the game folder is, as its resolved path tells.
struct Place {
    bool folderElsewhere = false;  // the folder holding it resolves elsewhere: a link on the way
    bool fileElsewhere = false;    // the file itself does: a link at it
    std::string spelled;           // `file` as the file system spells it; `file` when unknown
};

// Where the folder holding `file`, and the file itself, resolve to: elsewhere than their paths
// below the game folder say when a link stands on the way or at the file, whether the reader shows
// it as one or not (a Unix link seen through Wine is not). Not elsewhere when it cannot be told.
Place placeOf(TreeReader& reader, const std::string& game, const std::string& file) {
    Place place{false, false, file};
    const auto realGame = reader.canonicalPath(game);
    if (!realGame)
        return place;
    const char sep = reader.separator();
    const auto resolved = [&](const std::string& relative) {
        const auto real = reader.canonicalPath(below(game, relative, sep));
        const std::string expected = belowResolved(*realGame, relative, sep);
        return real && !equalsIgnoringCase(*real, expected) ? std::optional<std::string>()
               : real ? std::optional(real->substr(real->size() - relative.size()))
                      : std::optional(relative);
    };
    const std::size_t slash = file.rfind('/');
    place.folderElsewhere = slash != std::string::npos && !resolved(file.substr(0, slash));
    const auto spelled = resolved(file);
    place.fileElsewhere = !spelled;
    if (spelled) {
        place.spelled = *spelled;
        std::replace(place.spelled.begin(), place.spelled.end(), sep, '/');
    }
    return place;
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

// `file` with its name as its folder lists it, for an entry that does not resolve to itself (a
// link): the entry of that name, else the one entry that answers to it in another letter case.
std::string listedAs(TreeReader& reader, const std::string& game, const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    const std::string name = file.substr(folder.size());
    const auto entries = reader.listFolder(below(game, folder, reader.separator()));
    std::vector<std::string> matches;
    for (const FolderEntry& entry : entries.value_or(std::vector<FolderEntry>{})) {
        if (entry.name == name)
            return file;
        if (equalsIgnoringCase(entry.name, name))
            matches.push_back(entry.name);
    }
    return matches.size() == 1 ? folder + matches.front() : file;
}

// Where `file` is (placeOf), and whether the reader shows a link at the file itself (a link on the
// way is no link at the file, and is never made again); such a link is spelled as its folder lists
// it, as it does not resolve to itself.
std::pair<Place, bool> placeAndLinkOf(TreeReader& reader, const std::string& game,
                                      const std::string& file) {
    Place place = placeOf(reader, game, file);
    const bool link = !place.folderElsewhere &&
                      reader.kindOfEntry(below(game, file, reader.separator())) == EntryKind::Link;
    if (link)
        place.spelled = listedAs(reader, game, place.spelled);
    return {std::move(place), link};
}

}  // namespace

std::string isoTime(std::time_t time) {
    return utcText(time, "%Y-%m-%dT%H:%M:%SZ");
}

StateRead readState(TreeReader& reader, const std::string& game, const std::string& file) {
    StateRead read;
    const std::string path = below(game, file, reader.separator());
    const auto [place, link] = placeAndLinkOf(reader, game, file);
    read.spelled = place.spelled;
    if (place.folderElsewhere || place.fileElsewhere || link) {
        read.state = {true, true, 0, {}, {}, {}};
        if (link)
            read.state.linkTarget = reader.linkTarget(path).value_or("");
        return read;
    }
    const EntryKind kind = reader.kindOf(path);
    if (kind == EntryKind::Missing || kind == EntryKind::Folder)
        return read;
    FileRead got = reader.readFile(path, kMaxBackedUpFile);
    if (!got.bytes) {
        read.error = std::move(got.error);
        return read;
    }
    read.bytes = std::move(*got.bytes);
    read.state = {true, false, read.bytes.size(), sha256Hex(read.bytes), got.permissions, {}};
    read.links = got.links;
    return read;
}

std::string spelledAs(TreeReader& reader, const std::string& game, const std::string& file) {
    return placeAndLinkOf(reader, game, file).first.spelled;
}

std::optional<Outcome> leftAlone(const StateRead& read, const std::string& path) {
    if (read.error)
        return Outcome{path, Done::Failed, Cause::None, *read.error};
    if (read.state.link)
        return Outcome{path, Done::Failed, Cause::Link, {}};
    if (read.links > 1)
        return Outcome{path, Done::Failed, Cause::HardLinks, {}};
    return std::nullopt;
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

bool GameBackups::holdsNoBackup(const std::string& id) const {
    return std::all_of(std::begin(kKept), std::end(kKept), [&](const char* name) {
        return reader_.kindOfEntry(pathOf(id, name)) == EntryKind::Missing;
    });
}

const std::vector<GameBackups::Placed>& GameBackups::order() const {
    if (order_)
        return *order_;
    order_.emplace();
    std::vector<Placed> unnumbered;
    for (const FolderEntry& entry :
         reader_.listFolder(folder_).value_or(std::vector<FolderEntry>{})) {
        if (entry.kind != EntryKind::Folder || !isBackupId(entry.name))
            continue;
        const auto read = manifest(entry.name);
        if (const auto* made = std::get_if<Manifest>(&read)) {
            order_->push_back({made->number, entry.name, true});
        } else if (holdsNoBackup(entry.name)) {
            empty_.push_back(entry.name);
        } else {
            const FileRead file = reader_.readFile(pathOf(entry.name, kBackupName), kMaxBackupFile);
            const auto number = file.bytes ? numberIn(*file.bytes) : std::nullopt;
            (number ? *order_ : unnumbered).push_back({number, entry.name, false});
        }
    }
    const auto byNumber = [](const Placed& a, const Placed& b) {
        return std::tie(a.number, a.id) < std::tie(b.number, b.id);
    };
    std::sort(order_->begin(), order_->end(), byNumber);
    std::sort(unnumbered.begin(), unnumbered.end(),
              [](const Placed& a, const Placed& b) { return a.id < b.id; });
    for (Placed& backup : unnumbered) {
        const auto after = std::find_if(order_->rbegin(), order_->rend(),
                                        [&](const Placed& made) { return made.id < backup.id; });
        order_->insert(after.base(), std::move(backup));
    }
    return *order_;
}

std::vector<std::string> GameBackups::ids() const {
    std::vector<std::string> ids;
    for (const Placed& backup : order())
        ids.push_back(backup.id);
    return ids;
}

GameBackups::Created GameBackups::create(std::time_t now) {
    if (const ChangeResult made = store_.makeFolders(folder_); !made.succeeded)
        return {{}, 0, made.reason};
    std::uint64_t last = 0;
    for (const Placed& backup : order())
        last = std::max(last, backup.number.value_or(0));
    const std::uint64_t number = last + 1;
    const std::string base = compactTime(now);
    Reason why = because("too many backups in one second");
    for (int n = 1; n < 1000; ++n) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "-%03d", n);
        const std::string id = n == 1 ? base : base + suffix;
        const ChangeResult made = store_.makeNewFolder(pathOf(id));
        if (made.succeeded) {
            order_->push_back({number, id, true});
            return {id, number, {}};
        }
        if (!made.absent) {
            why = made.reason;
            break;
        }
    }
    removeFolderIfEmpty();
    return {{}, 0, why};
}

void GameBackups::forget(const std::string& id) {
    if (order_) {
        std::erase_if(*order_, [&](const Placed& known) { return known.id == id; });
    }
}

void GameBackups::removeFolderIfEmpty() {
    store_.removeEmptyFolder(folder_);
}

void GameBackups::remove(const std::string& id) {
    store_.removeTree(pathOf(id));
    forget(id);
    removeFolderIfEmpty();
}

ChangeResult GameBackups::write(const std::string& id, const Manifest& manifest,
                                std::string_view copies) {
    return store_.writeFile(pathOf(id, kBackupName), formatBackup(manifest, copies));
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
    removeFolderIfEmpty();
}

std::variant<Manifest, Reason> GameBackups::manifest(const std::string& id) const {
    auto read = contents(id, false);
    if (auto* backup = std::get_if<Backup>(&read))
        return std::move(backup->manifest);
    return std::get<Reason>(read);
}

std::variant<Backup, Reason> GameBackups::contents(const std::string& id) const {
    return contents(id, true);
}

std::variant<Backup, Reason> GameBackups::contents(const std::string& id, bool copies) const {
    const std::string path = pathOf(id, kBackupName);
    const FileRead file = reader_.readFile(path, kMaxBackupFile);
    if (file.bytes)
        return parseBackup(*file.bytes, copies);
    if (reader_.kindOf(path) != EntryKind::Missing)
        return because("it cannot be read: %s", file.error);
    return firstFormat(id, copies);
}

std::variant<Backup, Reason> GameBackups::firstFormat(const std::string& id, bool copies) const {
    const FileRead text = reader_.readFile(pathOf(id, kFirstManifestName), kMaxBackedUpFile);
    if (!text.bytes)
        return because("its manifest cannot be read: %s", text.error);
    auto parsed = parseFirstManifest(*text.bytes);
    if (const auto* error = std::get_if<Reason>(&parsed))
        return *error;
    Backup backup{std::move(std::get<Manifest>(parsed)), {}};
    for (std::size_t i = 0; copies && i < backup.manifest.entries.size(); ++i) {
        const ManifestEntry& entry = backup.manifest.entries[i];
        std::string& copy = backup.copies.emplace_back();
        if (!keepsCopy(entry))
            continue;
        FileRead kept = reader_.readFile(pathOf(id, storedCopyName(i)), kMaxBackedUpFile);
        if (!kept.bytes || sha256Hex(*kept.bytes) != entry.before.sha256)
            return because("its copy of %s is not the file it recorded", entry.file);
        copy = std::move(*kept.bytes);
    }
    return backup;
}

void GameBackups::prune(const std::string& kept) {
    std::vector<std::string> readable;
    for (const Placed& backup : order()) {
        if (backup.readable)
            readable.push_back(backup.id);
    }
    for (const std::string& id : std::exchange(empty_, {}))
        remove(id);
    std::size_t excess = readable.size() > kKeptBackups ? readable.size() - kKeptBackups : 0;
    for (std::size_t i = 0; i < readable.size() && excess > 0; ++i) {
        if (readable[i] == kept)
            continue;
        remove(readable[i]);
        --excess;
    }
}

}  // namespace morvane::backup
