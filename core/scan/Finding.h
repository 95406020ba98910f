#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane::scan {

// How sure a rule is that a server or a game build's distributor put a thing there.
// `clean --keep-settings` takes out what is planted and keeps what is suspect; the scan lists both.
enum class Level { Planted, Suspect };

std::string_view levelName(Level level);

// One way a planted thing shows itself: an id for reports, how sure it is, and why the thing is
// planted (or suspect). Each family's rule rows hold one beside their test.
struct Rule {
    std::string_view id;
    Level level;
    std::string_view reason;
};

// The bytes [begin, end) of a file's content.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct Place;

// A planted or suspect thing: where it is, and the rule that found it.
struct Finding {
    std::string file;  // below the game folder, '/' separated
    int line = 0;      // from 1; 0 when the whole file is the finding
    std::string text;  // the line without its end; empty for a whole file
    const Rule* rule = nullptr;
    Span span{};                   // the thing in the file's content: a line, an entry, a setting
    const Place* place = nullptr;  // where the file was found, which says what a clean does to it

    Level level() const { return rule->level; }
};

}  // namespace morvane::scan
