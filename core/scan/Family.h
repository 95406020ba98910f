#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan/Finding.h"
#include "core/text/TextLines.h"
#include "engine/TargetTable.h"

namespace morvane::scan {

struct Installation;
struct Family;

// What `clean --keep-settings` does to a file that holds something planted.
enum class Keep {
    Leave,     // nothing of its own: the removal run replaces the file when its group is chosen
    Delete,    // deletes it whole: a server's own file, with nothing of the player's in it
    Lines,     // takes the planted lines out and keeps every other byte
    Entries,   // takes the planted entries (KeyValues blocks) out and keeps every other byte
    Masters,   // as Entries; a list left without an entry gets Valve's stock one back
    Settings,  // gives each planted setting the emulator's default value back
};

// Where files of a family lie: a name (which may go down folders: "resource/UI/ScoreBoard.res")
// in each of some folders below the game folder ("" is the game folder itself). Names are matched
// ignoring ASCII case, as the game finds them, a name spelled as written first. A '*' in a folder
// or in a name's last part stands for any run of characters and takes every entry that fits; a
// folder ending in "/**" stands for itself and every folder below it (links are not followed),
// and is then followed by a name of one part. A file belongs to the first place, of the first
// family in families(), that holds it.
struct Place {
    std::span<const std::string_view> folders;
    std::string_view name;
    Group group;  // the kind of advertising it carries, as a clean chooses them
    Keep keep;
    unsigned sort = 0;  // what its family's rules tell apart among its places
};

// A file of a family, as the scan found it.
struct ScannedFile {
    std::string relative;  // below the game folder, '/' separated, as spelled on disk
    const Family* family = nullptr;
    const Place* place = nullptr;
    std::string content;  // empty when the family does not read its files
};

// One family of files: where they are, how they are read and judged, and (by its places) what the
// keep-settings clean does to them.
struct Family {
    std::span<const Place> places;
    bool readsContent;                   // else the file as a whole is judged, unread
    std::span<const Rule* const> rules;  // those of its rows, in the order they are tried
    // Adds what `file` tells of the whole installation (aliases, masters, brands); may be null.
    void (*gather)(const ScannedFile& file, Installation& installation);
    std::vector<Finding> (*judge)(const ScannedFile& file, const Installation& installation);
};

// Every family, in the order their places claim files.
std::span<const Family* const> families();

// Every rule of every family.
std::vector<const Rule*> allRules();

// The family and place that hold the file at `relative` ('/' separated, below the game folder),
// as the scan would find it there; null when none does.
struct Placed {
    const Family* family = nullptr;
    const Place* place = nullptr;
};
Placed placeOf(std::string_view relative);

// One rule row of a family: its rule, the sorts of place it applies to (bit 1 << sort), and its
// test on the family's own facts of a line or an entry.
template <typename Facts>
struct Row {
    Rule rule;
    unsigned sorts;
    bool (*matches)(const Facts&);
};

// The rules of `rows`, in their order.
template <typename Facts, std::size_t N>
constexpr std::array<const Rule*, N> rulesOf(const std::array<Row<Facts>, N>& rows) {
    std::array<const Rule*, N> rules{};
    for (std::size_t i = 0; i < N; ++i)
        rules[i] = &rows[i].rule;
    return rules;
}

// The rule of the first row of `rows` that applies to places of sort `sort` and whose test `facts`
// pass, or null.
template <typename Facts, std::size_t N>
const Rule* firstMatch(const std::array<Row<Facts>, N>& rows, unsigned sort, const Facts& facts) {
    for (const Row<Facts>& row : rows) {
        if ((row.sorts & (1u << sort)) != 0 && row.matches(facts))
            return &row.rule;
    }
    return nullptr;
}

// A finding of `rule` on `line` of `file`, the line with its end as its span.
Finding findingOn(const ScannedFile& file, const TextLine& line, const Rule* rule);

// The findings of `file` line by line: on each line, under the first of `rows` (for the sort of
// the file's place) that the facts `factsOf(line)` gives pass; a line without facts (no value) is
// not judged.
template <typename Facts, std::size_t N, typename FactsOf>
std::vector<Finding> judgeLines(const ScannedFile& file, const std::array<Row<Facts>, N>& rows,
                                FactsOf factsOf) {
    std::vector<Finding> findings;
    forEachTextLine(file.content, [&](const TextLine& line) {
        if (const std::optional<Facts> facts = factsOf(line)) {
            if (const Rule* rule = firstMatch(rows, file.place->sort, *facts))
                findings.push_back(findingOn(file, line, rule));
        }
    });
    return findings;
}

}  // namespace morvane::scan
