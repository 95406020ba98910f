#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/ConsoleLine.h"
#include "core/scan/ConsoleReach.h"
#include "core/scan/ScannedFiles.h"

namespace morvane::scan {

// Everything the rules look at in one line of a scanned file.
struct LineFacts {
    FileKind kind;
    std::string_view text;            // without its line end
    std::vector<Command> commands;    // as the console would run the line
    Reach reach;                      // what the line leads to, binds and aliases followed
    Reach bound;                      // what the keys bound in the line lead to
    bool lastUserconfigExec = false;  // the line holds the file's last "exec userconfig.cfg"
};

constexpr unsigned kindBit(FileKind kind) {
    return 1u << static_cast<unsigned>(kind);
}

// One way a planted thing shows itself: an id for reports, the files it applies to, why it is
// planted, and the test.
struct Rule {
    std::string_view id;
    unsigned kinds;  // kindBit of each kind of file it applies to
    std::string_view reason;
    bool (*matches)(const LineFacts&);
};

// Every rule, in the order they are tried; a line is reported under the first that matches.
std::span<const Rule> rules();

// A planted thing: where it is, and the rule that found it.
struct Finding {
    std::string file;  // below the game folder, '/' separated
    int line = 0;      // from 1; 0 when the whole file is the finding
    std::string text;  // the line without its end; empty for a whole file
    const Rule* rule = nullptr;
};

// The findings in one file of kind `kind` at `relative` holding `content`, line by line; a
// Download is one finding for the whole file. `aliases` are those of the whole installation.
std::vector<Finding> findingsIn(std::string_view relative, FileKind kind, std::string_view content,
                                const AliasReach& aliases);

}  // namespace morvane::scan
