#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/backup/Manifest.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"

namespace morvane::backup {

// How many backups of one game folder are kept; older ones go when a new one is made.
inline constexpr std::size_t kKeptBackups = 10;

// Game files are small; a backup does not take anything larger.
inline constexpr std::size_t kMaxBackedUpFile = 64u << 20;

// The state of the file `file` ('/' separated) below the game folder `game` now, and its bytes; or
// why it could not be read. A path that leads nowhere, or to a folder, is a file that is not
// there. A link is never followed below the game folder, as the host never follows one there for
// a change: a link at the file, or on the way to it, is recorded as a link and nothing is read. So
// is a file or folder whose resolved path is not where its path says (a link the reader does not
// show as one). The game folder may be a root, whose resolved path keeps its separator.
struct StateRead {
    FileState state;
    std::string bytes;
    std::string error;  // empty when the state could be read
};
StateRead readState(TreeReader& reader, const std::string& game, const std::string& file);

// The backups of one game folder: a folder below `backups` named after the hash of the game
// folder's path (doubled and trailing separators aside), with one folder per clean named after its
// time, each holding "manifest" and "files/".
class GameBackups {
  public:
    GameBackups(TreeReader& reader, StateStore& store, const std::string& backups,
                const std::string& canonicalGame);

    const std::string& folder() const { return folder_; }

    // The backups there, oldest first, by their ids ("20240501T100000Z", "...-002" for a second
    // one in the same second).
    std::vector<std::string> ids() const;

    // Makes the folder of a new backup, for a clean that begins at `now`.
    struct Created {
        std::string id;     // empty when it could not be made
        std::string error;  // why not
    };
    Created create(std::time_t now);
    // Removes backup `id` whole.
    void remove(const std::string& id);

    // Writes the copy of entry `index` of backup `id`; writes its manifest.
    ChangeResult writeCopy(const std::string& id, std::size_t index, const std::string& bytes);
    ChangeResult writeManifest(const std::string& id, const Manifest& manifest);

    // Puts `bytes` in a file of the driver's own, named `name`, to be copied into the game
    // folder from there: its path, or why it could not be written. Only inside a run on the game
    // folder, so no other run of ours uses the same names.
    std::variant<std::string, ChangeResult> stage(const std::string& name,
                                                  const std::string& bytes);
    // Removes every file stage() made.
    void dropStaged();

    // The manifest of backup `id`, or why it cannot be had (a clean that stopped before writing
    // it leaves none).
    std::variant<Manifest, std::string> manifest(const std::string& id) const;
    // The path of the copy of entry `index` of backup `id`.
    std::string copyPath(const std::string& id, std::size_t index) const;

    // Removes all but the kKeptBackups newest backups.
    void prune();

  private:
    std::string pathOf(const std::string& id, const std::string& below = {}) const;

    TreeReader& reader_;
    StateStore& store_;
    std::string folder_;
};

// "2024-05-01T10:00:00Z" for `time`.
std::string isoTime(std::time_t time);

}  // namespace morvane::backup
