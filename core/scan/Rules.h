#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ConsoleLine.h"
#include "core/scan/ConsoleReach.h"
#include "core/scan/ScannedFiles.h"

namespace morvane::scan {

// How sure a rule is that a server put the line there. `clean --keep-settings` takes out what is
// planted and keeps what is suspect; the scan lists both.
enum class Level { Planted, Suspect };

std::string_view levelName(Level level);

// Everything the rules look at in one line of a scanned file.
struct LineFacts {
    FileKind kind = FileKind::GameConfig;
    std::string_view text;            // without its line end
    std::vector<Command> commands{};  // config files: as the console would run the line
    Reach runs{};                     // what running the line does, aliases followed (not its binds
                                      // and alias definitions)
    Reach bound{};                    // what the keys bound in the line lead to
    Reach defined{};                  // what the aliases defined in the line lead to
    bool definedReached = false;      // a key or an executed line reaches an alias defined here
    bool lastUserconfigExec = false;  // the line holds the file's last "exec userconfig.cfg"
    // Layouts, read as KeyValues: what the keys standing on the line hold.
    bool menuConnects = false;  // a menu entry's "command" connects ("engine connect", any case)
    bool valueAddress = false;  // a key or value carries a server or web address
    bool wholeLayout = false;   // the line is the whole file, and holds a layout's blocks
    // Welcome pages.
    bool inCode = false;  // the line is (or opens) a style sheet or a script of the page
};

constexpr unsigned kindBit(FileKind kind) {
    return 1u << static_cast<unsigned>(kind);
}

// One way a planted thing shows itself: an id for reports, the files it applies to, how sure it
// is, why the line is planted (or suspect), and the test.
struct Rule {
    std::string_view id;
    unsigned kinds;  // kindBit of each kind of file it applies to
    Level level;
    std::string_view reason;
    bool (*matches)(const LineFacts&);
};

// Every rule, in the order they are tried (those of planted things first); a line is reported
// under the first that matches.
std::span<const Rule> rules();

// A planted or suspect thing: where it is, and the rule that found it.
struct Finding {
    std::string file;  // below the game folder, '/' separated
    int line = 0;      // from 1; 0 when the whole file is the finding
    std::string text;  // the line without its end; empty for a whole file
    const Rule* rule = nullptr;

    Level level() const { return rule->level; }
};

// The findings in one file of kind `kind` at `relative` holding `content`, line by line (layouts
// are read as the KeyValues they are; findings name the line); a Download is one finding for the
// whole file. `console` is that of the whole installation's config files.
std::vector<Finding> findingsIn(std::string_view relative, FileKind kind, std::string_view content,
                                const Console& console);

}  // namespace morvane::scan
