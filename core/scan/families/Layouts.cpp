// The layouts of the menu, the loading screens and the scoreboard, read as the KeyValues they are;
// findings name the line. The editions' files are replaced by the removal run; those a server left
// in its downloads are deleted whole.
#include <algorithm>
#include <array>
#include <map>

#include "core/game/GameLayout.h"
#include "core/keyvalues/KeyValues.h"
#include "core/scan/Addresses.h"
#include "core/scan/ConsoleLine.h"
#include "core/scan/families/Families.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

// What the keys standing on one line of a layout hold.
struct LineFacts {
    bool menuConnects = false;  // a menu entry's "command" connects ("engine connect", any case)
    bool valueAddress = false;  // a key or value carries a server or web address
    bool wholeLayout = false;   // the line is the whole file, and holds a layout's blocks
};

constexpr unsigned kAny = 1u;
constexpr auto kRows = std::to_array<Row<LineFacts>>({
    {{"menu-connect", Level::Planted, i18n::trMark("a menu entry that connects to a server")},
     kAny,
     [](const LineFacts& f) { return f.menuConnects; }},
    {{"layout-address", Level::Planted,
      i18n::trMark("a label or text with a server or web address")},
     kAny,
     [](const LineFacts& f) { return f.valueAddress; }},
    {{"layout-one-line", Level::Planted,
      i18n::trMark(
          "a whole layout written on one line, as servers write it into the player's game")},
     kAny,
     [](const LineFacts& f) { return f.wholeLayout; }},
});

// Whether the console text of a menu entry's "command" connects: the menu hands "engine ..." to
// the console.
bool commandConnects(std::string_view value) {
    for (const Command& command : commandsOf(value)) {
        const std::vector<std::string>& w = command.words;
        const std::size_t at = equalsIgnoringCase(w[0], "engine") && w.size() > 1 ? 1 : 0;
        // "engine "connect host"" hands one word that is itself a command.
        const auto inner = commandsOf(w[at]);
        if (equalsIgnoringCase(w[at], "connect") ||
            (!inner.empty() && equalsIgnoringCase(inner.front().words.front(), "connect")))
            return true;
    }
    return false;
}

void readLayout(const kv::Node& block, std::map<int, LineFacts>& lines) {
    for (const kv::Node& node : block.children) {
        if (hasAddress(node.key))
            lines[node.line].valueAddress = true;
        if (node.block) {
            readLayout(node, lines);
            continue;
        }
        if (hasAddress(node.value))
            lines[node.valueLine].valueAddress = true;
        if (equalsIgnoringCase(node.key, "command") && commandConnects(node.value))
            lines[node.valueLine].menuConnects = true;
    }
}

// Whether the parsed layout holds an entry: a block within a block.
bool holdsEntries(const kv::Node& root) {
    return std::any_of(root.children.begin(), root.children.end(), [](const kv::Node& top) {
        return std::any_of(top.children.begin(), top.children.end(),
                           [](const kv::Node& entry) { return entry.block; });
    });
}

std::vector<Finding> judge(const ScannedFile& file, const Installation&) {
    std::map<int, LineFacts> layout;
    const kv::Node root = kv::parseTolerantly(file.content);
    readLayout(root, layout);
    int lineCount = 0;
    forEachLine(file.content, [&](std::string_view, int number) { lineCount = number; });
    const bool wholeLayout = lineCount == 1 && holdsEntries(root);
    return judgeLines(file, kRows, [&](const TextLine& line) {
        LineFacts facts;
        if (const auto found = layout.find(line.number); found != layout.end())
            facts = found->second;
        facts.wholeLayout = wholeLayout;
        return std::optional(facts);
    });
}

constexpr auto kRules = rulesOf(kRows);

constexpr auto& kEditions = kEditionFolders;
constexpr auto& kDownloads = kDownloadsFolders;

constexpr Place kPlaces[] = {
    {kEditions, "resource/GameMenu.res", Group::Menu, Keep::Leave},
    {kEditions, "resource/LoadingDialog.res", Group::Loading, Keep::Leave},
    {kEditions, "resource/LoadingDialogNoBanner.res", Group::Loading, Keep::Leave},
    {kEditions, "resource/LoadingDialogVAC.res", Group::Loading, Keep::Leave},
    {kEditions, "resource/UI/ScoreBoard.res", Group::Scoreboard, Keep::Leave},
    // Every other loading screen of the game (LoadingDialogDualProgress.res...), which the removal
    // run has no replacement for: a planted one goes, and the game shows the base game's own.
    {kEditions, "resource/LoadingDialog*.res", Group::Loading, Keep::Delete},
    {kDownloads, "resource/GameMenu.res", Group::Menu, Keep::Delete},
    {kDownloads, "resource/LoadingDialog.res", Group::Loading, Keep::Delete},
    {kDownloads, "resource/LoadingDialogNoBanner.res", Group::Loading, Keep::Delete},
    {kDownloads, "resource/LoadingDialogVAC.res", Group::Loading, Keep::Delete},
    {kDownloads, "resource/UI/ScoreBoard.res", Group::Scoreboard, Keep::Delete},
    {kDownloads, "resource/LoadingDialog*.res", Group::Loading, Keep::Delete},
};

}  // namespace

const Family kLayouts{kPlaces, true, kRules, nullptr, judge};

}  // namespace morvane::scan
