// The welcome pages: motd.txt of the editions, which the removal run replaces, and the pages
// servers wrote (the last one sent, motd_temp.html, and any in their downloads), deleted whole.
#include <algorithm>
#include <array>

#include "core/game/GameLayout.h"
#include "core/scan/Addresses.h"
#include "core/scan/families/Families.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

struct LineFacts {
    std::string_view text;
    bool inCode = false;  // the line is (or opens) a style sheet or a script of the page
};

// The words that welcome a player to a named place, in the languages of the servers' pages.
constexpr std::array<std::string_view, 16> kWelcomes{
    "welcome to",
    "bienvenido a",
    "bienvenidos a",
    "bem-vindo ao",
    "bem vindo ao",
    "bem-vindo a",
    "bine ati venit",
    "bine ai venit",
    "willkommen auf",
    "willkommen bei",
    "witaj na",
    "witamy na",
    "bienvenue sur",
    "benvenuto su",
    "benvenuti su",
    // "dobro pozhalovat'" in Cyrillic, UTF-8
    "\xd0\xb4\xd0\xbe\xd0\xb1\xd1\x80\xd0\xbe "
    "\xd0\xbf\xd0\xbe\xd0\xb6\xd0\xb0\xd0\xbb\xd0\xbe\xd0\xb2\xd0\xb0\xd1\x82\xd1\x8c",
};

// The game itself, to which a stock page welcomes the player.
constexpr std::array<std::string_view, 5> kTheGame{"counter-strike", "counter strike", "cs 1.6",
                                                   "cstrike", "half-life"};

// A welcome page's title or heading that welcomes the player to a named server: the server's own
// name, as only the server writes it.
bool headingWelcomesToAServer(const LineFacts& facts) {
    const std::string lower = lowerAscii(facts.text);
    for (std::string_view tag : {"<title", "<h1", "<h2", "<h3"}) {
        const std::size_t open = lower.find(tag);
        if (open == std::string::npos)
            continue;
        const std::size_t start = lower.find('>', open);
        if (start == std::string::npos)
            continue;
        const std::string heading = lower.substr(start + 1, lower.find('<', start) - start - 1);
        for (std::string_view welcome : kWelcomes) {
            const std::size_t at = heading.find(welcome);
            if (at == std::string::npos)
                continue;
            std::string_view named = std::string_view(heading).substr(at + welcome.size());
            while (!named.empty() && named.front() == ' ')
                named.remove_prefix(1);
            if (std::any_of(kTheGame.begin(), kTheGame.end(),
                            [&](std::string_view game) { return named.starts_with(game); }))
                continue;  // the game's own welcome
            if (std::count_if(named.begin(), named.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
                }) >= 2)
                return true;
        }
    }
    return false;
}

constexpr unsigned kAny = 1u;
constexpr auto kRows = std::to_array<Row<LineFacts>>({
    {{"welcome-address", Level::Planted,
      i18n::trMark("a welcome page with a server or web address other than the game's own")},
     kAny,
     [](const LineFacts& f) { return f.inCode ? hasAddressInCode(f.text) : hasAddress(f.text); }},
    {{"welcome-server-name", Level::Planted,
      i18n::trMark(
          "a welcome page titled with a welcome to a named server, which only the server writes")},
     kAny,
     [](const LineFacts& f) { return !f.inCode && headingWelcomesToAServer(f); }},
});

// Whether `line` opens or closes a page's style sheet or script; `inCode` says whether the page's
// code goes on after it.
bool touchesCode(std::string_view line, bool& inCode) {
    const std::string lower = lowerAscii(line);
    std::size_t open = std::string::npos;
    std::size_t close = std::string::npos;
    for (std::string_view tag : {"<style", "<script"}) {
        if (const std::size_t at = lower.rfind(tag); at != std::string::npos)
            open = open == std::string::npos ? at : std::max(open, at);
    }
    for (std::string_view tag : {"</style", "</script"}) {
        if (const std::size_t at = lower.rfind(tag); at != std::string::npos)
            close = close == std::string::npos ? at : std::max(close, at);
    }
    if (open != std::string::npos && (close == std::string::npos || open > close))
        inCode = true;
    else if (close != std::string::npos)
        inCode = false;
    return open != std::string::npos || close != std::string::npos;
}

std::vector<Finding> judge(const ScannedFile& file, const Installation&) {
    bool inCode = false;
    return judgeLines(file, kRows, [&](const TextLine& line) {
        const bool before = inCode;
        return std::optional(LineFacts{line.text, touchesCode(line.text, inCode) || before});
    });
}

constexpr auto kRules = rulesOf(kRows);

constexpr auto& kEditions = kEditionFolders;
constexpr auto& kDownloads = kDownloadsFolders;

constexpr Place kPlaces[] = {
    {kEditions, "motd.txt", Group::Motd, Keep::Leave},
    // The page the last server sent: the server's, as a whole.
    {kEditions, "motd_temp.html", Group::Motd, Keep::Delete},
    {kDownloads, "motd.txt", Group::Motd, Keep::Delete},
    {kDownloads, "motd_temp.html", Group::Motd, Keep::Delete},
};

}  // namespace

const Family kWelcomePages{kPlaces, true, kRules, nullptr, judge};

}  // namespace morvane::scan
