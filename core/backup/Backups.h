#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/Outcome.h"
#include "core/backup/Manifest.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"

namespace morvane::backup {

// How many backups of one game folder are kept; older ones go when a new one is made.
inline constexpr std::size_t kKeptBackups = 10;

// Game files are small; a backup does not take anything larger, nor more than kMaxCopies in all.
inline constexpr std::size_t kMaxBackedUpFile = 64u << 20;
inline constexpr std::size_t kMaxCopies = 256u << 20;

// The state of the file `file` ('/' separated) below the game folder `game` now, and its bytes; or
// why it could not be read. A path that leads nowhere, or to a folder, is a file that is not
// there. A link is never followed below the game folder, as the host never follows one there for
// a change: a link at the file, or on the way to it, is recorded as a link and nothing is read,
// with the text of its target when it stands at the file itself. So is a file or folder whose
// resolved path is not where its path says (a link the reader does not show as one), its target
// unknown. The game folder may be a root, whose resolved path keeps its separator.
struct StateRead {
    FileState state;
    std::string bytes;
    std::optional<Reason> error;  // why the state could not be read
    std::uint32_t links = 1;      // the file's names: more than one shares it with other names
    // `file` as the folder spells it, where an entry answers to it in another letter case
    // ("cstrike/Config.CFG" for "cstrike/config.cfg"); `file` itself else.
    std::string spelled;
};
StateRead readState(TreeReader& reader, const std::string& game, const std::string& file);

// `file` ('/' separated, below the game folder `game`) as the folder spells it, as readState() has
// it in `spelled`, without reading the file; `file` itself when nothing there answers to it.
std::string spelledAs(TreeReader& reader, const std::string& game, const std::string& file);

// Why the driver leaves the file at `path`, whose lines it would change, as it is, if it does: it
// cannot be read, it is a link (never written through nor replaced), or it has other names (hard
// links) that a new file would split from it. A failed outcome, with that cause.
std::optional<Outcome> leftAlone(const StateRead& read, const std::string& path);

// The backups of one game folder: a folder below `backups` named after the hash of the game
// folder's path (doubled and trailing separators aside), with one folder per backup named after its
// time, holding the file "backup" (formatBackup); those of the first format hold "manifest" and
// "files/" instead.
class GameBackups {
  public:
    GameBackups(TreeReader& reader, StateStore& store, const std::string& backups,
                const std::string& canonicalGame);

    const std::string& folder() const { return folder_; }

    // The backups there, in the order they were made (by their numbers, then by their ids), oldest
    // first. Ids are times: "20240501T100000Z", "...-002" for a second one in the same second. A
    // damaged backup whose number cannot be read stands by its id: after the last one whose id is
    // smaller. A folder that holds nothing of a backup (a run killed before it wrote one) is none.
    std::vector<std::string> ids() const;

    // Makes the folder of a new backup, for a command that begins at `now`, numbered after every
    // backup there.
    struct Created {
        std::string id;  // empty when it could not be made
        std::uint64_t number = 0;
        Reason error;  // why not
    };
    Created create(std::time_t now);
    // Removes backup `id` whole, and the game folder's own folder once it holds nothing.
    void remove(const std::string& id);

    // Writes backup `id`: its manifest and the copies of its files.
    ChangeResult write(const std::string& id, const Manifest& manifest, std::string_view copies);

    // Puts `bytes` in a file of the driver's own, named `name`, to be copied into the game
    // folder from there: its path, or why it could not be written. Only inside a run on the game
    // folder, so no other run of ours uses the same names.
    std::variant<std::string, ChangeResult> stage(const std::string& name,
                                                  const std::string& bytes);
    // Removes every file stage() made, and the game folder's own folder once it holds nothing.
    void dropStaged();

    // The manifest of backup `id`, or why it cannot be had (it is damaged, or a command that
    // stopped before writing it left none).
    std::variant<Manifest, Reason> manifest(const std::string& id) const;
    // The manifest and the copies of backup `id`, each copy checked against its hash.
    std::variant<Backup, Reason> contents(const std::string& id) const;

    // Removes all but the kKeptBackups newest backups whose manifests can be read; never `kept`,
    // the one just made, nor a backup that cannot be read (it stays, listed as unusable, for the
    // user to judge). Folders that hold no backup go.
    void prune(const std::string& kept);

  private:
    std::string pathOf(const std::string& id, const std::string& below = {}) const;
    std::variant<Backup, Reason> contents(const std::string& id, bool copies) const;
    std::variant<Backup, Reason> firstFormat(const std::string& id, bool copies) const;
    // One backup as order() places it.
    struct Placed {
        std::optional<std::uint64_t> number;  // none when it cannot be read
        std::string id;
        bool readable = true;  // its manifest can be read
    };
    // The backups, oldest first (see ids()), read once; the folders holding none in `empty_`.
    const std::vector<Placed>& order() const;
    bool holdsNoBackup(const std::string& id) const;
    void forget(const std::string& id);
    void removeFolderIfEmpty();

    TreeReader& reader_;
    StateStore& store_;
    std::string folder_;
    mutable std::optional<std::vector<Placed>> order_;
    mutable std::vector<std::string> empty_;
};

// "2024-05-01T10:00:00Z" for `time`.
std::string isoTime(std::time_t time);

}  // namespace morvane::backup
