// The server browser's favourites and history (ServerBrowser.vdf and the same variants as the
// master lists, in the same places). An entry a build's distributor or a booster added shows
// several of their signs together, never one alone; the player's own favourites and history have
// real, varied times, servers of many communities and LAN addresses, and a server's name with a
// site in it is what the game wrote. The clean takes a planted entry out whole.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <set>

#include "core/game/GameLayout.h"
#include "core/game/Masters.h"
#include "core/scan/Addresses.h"
#include "core/scan/Installation.h"
#include "core/scan/families/Families.h"
#include "core/scan/families/KeyValueLines.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

// A time the game writes is a real one: later than anyone played the game with this browser.
constexpr long long kFirstRealTime = 1000000000;  // 2001-09-09
// A run of servers put in by hand one after the other.
constexpr long long kMinutes = 10 * 60;
// A site's name short enough to stand in other words ("cs") is no brand of its own.
constexpr std::size_t kBrandLength = 4;

struct Entry {
    const kv::Node* node = nullptr;
    const kv::Node* address = nullptr;
    std::string host;  // lower case
    std::string name;
    std::string time;                 // lastplayed as written; empty when there is none
    std::optional<long long> played;  // lastplayed when it is a real time
    std::vector<std::string> sites;   // the sites its name names
};

struct EntryFacts {
    bool lan = false;  // a LAN or loopback address: the player's own
    int signs = 0;
    bool sameAsAdded = false;  // the server of an entry added by those signs
};

constexpr auto kRows = std::to_array<Row<EntryFacts>>({
    {{"favourite-added", Level::Planted,
      i18n::trMark("a favourite or history entry a build's distributor or a booster added, by "
                   "several of their signs together: a generic name, a time the game never writes "
                   "or one shared with others, a run of one host's ports put in within minutes, "
                   "the build's own hosts, brand or site, a build never played")},
     1u,
     [](const EntryFacts& f) { return !f.lan && f.signs >= 2; }},
    {{"favourite-added-server", Level::Planted,
      i18n::trMark("an entry for a server that the entries added by a build's distributor or a "
                   "booster name: part of what they put in")},
     1u,
     [](const EntryFacts& f) { return !f.lan && f.sameAsAdded; }},
});

bool isLan(std::string_view host) {
    unsigned a = 0;
    unsigned b = 0;
    const auto end = host.data() + host.size();
    auto [next, error] = std::from_chars(host.data(), end, a);
    if (error != std::errc() || next == end || *next != '.')
        return host == "localhost";
    std::from_chars(next + 1, end, b);
    return a == 10 || a == 127 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168) ||
           (a == 169 && b == 254) || (a == 100 && b >= 64 && b <= 127) || a == 0;
}

// A name the game never gives a server: "Favorite server 3", "Server 12", or none.
bool isGeneric(std::string_view name) {
    std::string words;
    for (char c : lowerAscii(name))
        words += (c >= 'a' && c <= 'z') ? c : ' ';
    bool any = false;
    for (std::size_t at = 0; at < words.size();) {
        const std::size_t start = words.find_first_not_of(' ', at);
        if (start == std::string::npos)
            break;
        const std::size_t end = std::min(words.find(' ', start), words.size());
        const std::string_view word = std::string_view(words).substr(start, end - start);
        if (word != "favorite" && word != "favourite" && word != "server" && word != "new")
            return false;
        any = true;
        at = end;
    }
    return any || std::none_of(name.begin(), name.end(), [](char c) { return c != ' '; });
}

// The sites a server's name names ("example" of "EXAMPLE.org | Public #2").
std::vector<std::string> sitesIn(std::string_view name) {
    std::vector<std::string> sites;
    std::size_t at = 0;
    while (at < name.size()) {
        const auto part = [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
        };
        const auto start = std::find_if(name.begin() + at, name.end(), part) - name.begin();
        const auto end = std::find_if_not(name.begin() + start, name.end(), part) - name.begin();
        const std::string_view run = name.substr(start, end - start);
        if (run.find('.') != std::string_view::npos && !hasIpAddress(run)) {
            if (std::string site = siteName(run); !site.empty())
                sites.push_back(std::move(site));
        }
        at = end;
    }
    return sites;
}

Entry entryOf(const kv::Node& node) {
    Entry entry;
    entry.node = &node;
    entry.address = node.child("address");
    entry.host = lowerAscii(masterHost(entry.address->value));
    if (const kv::Node* name = node.child("name"))
        entry.name = name->value;
    if (const kv::Node* time = node.child("lastplayed")) {
        entry.time = time->value;
        long long value = 0;
        const auto end = time->value.data() + time->value.size();
        if (std::from_chars(time->value.data(), end, value).ptr == end && value >= kFirstRealTime)
            entry.played = value;
    }
    entry.sites = sitesIn(entry.name);
    return entry;
}

// The entries of every list in the file ("favorites", "history"...), list by list.
std::map<std::string, std::vector<Entry>> listsOf(const kv::Node& root) {
    std::map<std::string, std::vector<Entry>> lists;
    for (const kv::Node& top : root.children) {
        for (const kv::Node& list : top.children) {
            for (const kv::Node& node : list.children) {
                if (node.block && node.child("address") != nullptr && !node.child("address")->block)
                    lists[lowerAscii(list.key)].push_back(entryOf(node));
            }
        }
    }
    return lists;
}

// The signs of `entry` among the others of its list.
int signsOf(const Entry& entry, const std::vector<Entry>& list, const Installation& installation) {
    int signs = isGeneric(entry.name) ? 1 : 0;
    const auto others = [&](auto same) {
        return std::count_if(list.begin(), list.end(),
                             [&](const Entry& other) { return &other != &entry && same(other); });
    };
    if (!entry.time.empty() &&
        (!entry.played || others([&](const Entry& o) { return o.time == entry.time; }) > 0))
        ++signs;
    if (others([&](const Entry& o) { return o.host == entry.host; }) >= 2) {
        std::vector<long long> times;
        for (const Entry& other : list) {
            if (other.host == entry.host && other.played)
                times.push_back(*other.played);
        }
        const auto [first, last] = std::minmax_element(times.begin(), times.end());
        if (times.empty() || *last - *first <= kMinutes)
            ++signs;
    }
    const std::string name = lowerAscii(entry.name);
    if (installation.buildHosts.contains(entry.host) ||
        std::any_of(installation.buildSites.begin(), installation.buildSites.end(),
                    [&](const std::string& site) {
                        return site.size() >= kBrandLength && name.find(site) != std::string::npos;
                    }))
        ++signs;
    if (std::any_of(entry.sites.begin(), entry.sites.end(), [&](const std::string& site) {
            return others([&](const Entry& o) {
                       return std::find(o.sites.begin(), o.sites.end(), site) != o.sites.end();
                   }) >= 2;
        }))
        ++signs;
    return signs;
}

std::vector<Finding> judge(const ScannedFile& file, const Installation& installation) {
    const kv::Node root = kv::parseTolerantly(file.content);
    const auto lists = listsOf(root);
    const KeyValueLines lines(file);
    // A build as its maker left it: never played, and carrying the maker's brand or masters
    // (two signs, of which neither counts alone).
    const auto history = lists.find("history");
    const bool neverPlayed = history == lists.end() || history->second.empty();
    const bool makersMark = installation.brandedName || !installation.buildHosts.empty();
    const int untouched = neverPlayed && makersMark ? 2 : 0;
    std::vector<std::pair<const Entry*, EntryFacts>> judged;
    std::set<std::string> added;
    for (const auto& [name, list] : lists) {
        for (const Entry& entry : list) {
            const EntryFacts facts{isLan(entry.host),
                                   signsOf(entry, list, installation) + untouched};
            judged.emplace_back(&entry, facts);
            if (firstMatch(kRows, 0, facts) != nullptr)
                added.insert(lowerAscii(entry.address->value));
        }
    }
    std::vector<Finding> findings;
    for (auto& [entry, facts] : judged) {
        facts.sameAsAdded = added.contains(lowerAscii(entry->address->value));
        if (const Rule* rule = firstMatch(kRows, 0, facts))
            findings.push_back(lines.finding(*entry->address, *entry->node, rule));
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

constexpr auto kRules = rulesOf(kRows);

constexpr std::string_view kFolders[] = {kPlatformConfigFolder, kConfigFolder, kPlatformFolder,
                                         kGameFolderItself};

constexpr Place kPlaces[] = {
    {kFolders, "*ServerBrowser*.vdf", Group::Config, Keep::Entries},
    {kFolders, "*ServerBrowser*.csb", Group::Config, Keep::Entries},
};

}  // namespace

const Family kFavourites{kPlaces, true, kRules, nullptr, judge};

}  // namespace morvane::scan
