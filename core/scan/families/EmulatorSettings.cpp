// The settings of the emulator that builds sold without Steam run the game with (rev.ini, any
// letter case, in the game folder): its master server, the player's name, the text it rejects
// players with, and servers it is told to connect to or download from. The clean gives a planted
// setting the emulator's default value back, or takes it out where the emulator has none.
#include <algorithm>
#include <array>
#include <optional>

#include "core/game/GameLayout.h"
#include "core/game/Masters.h"
#include "core/scan/Addresses.h"
#include "core/scan/Installation.h"
#include "core/scan/families/Families.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

// One "key=value" line of the settings (comments and section headers are none).
struct Setting {
    std::string key;  // lower case, quotes and blanks taken off
    std::string_view value;
};

bool isKey(const Setting& s, std::string_view key) {
    return s.key == key;
}

// A value that is an address and nothing else, not a command line with one in it.
bool isOneWord(std::string_view value) {
    return value.find_first_of(" \t") == std::string_view::npos;
}

constexpr auto kRows = std::to_array<Row<Setting>>({
    {{"rev-master", Level::Planted,
      i18n::trMark("the emulator's master server is neither Valve's nor its own default: the "
                   "Internet tab lists only the servers of whoever runs it")},
     1u,
     [](const Setting& s) {
         return isKey(s, "masterserver") && !s.value.empty() && !isValveMaster(s.value) &&
                masterHost(s.value) != kEmulatorMaster;
     }},
    {{"rev-name-site", Level::Planted,
      i18n::trMark("the player's name, as the emulator gives it, is a site")},
     1u,
     [](const Setting& s) {
         return (isKey(s, "playername") || isKey(s, "steamuser")) && hasAddress(s.value);
     }},
    {{"rev-reject-site", Level::Planted,
      i18n::trMark("the text the emulator turns players away with names a site")},
     1u,
     [](const Setting& s) { return isKey(s, "rejecttext") && hasAddress(s.value); }},
    {{"rev-server-address", Level::Planted,
      i18n::trMark("a server address set in the emulator's settings, which the game connects to or "
                   "downloads from")},
     1u,
     [](const Setting& s) {
         return !isKey(s, "masterserver") && hasAddress(s.value) && isOneWord(s.value);
     }},
    {{"rev-address-in-setting", Level::Suspect,
      i18n::trMark(
          "a setting of the emulator (such as the line it starts the game with) names a server or "
          "a site among other words: listed and kept, since taking the line out would break it")},
     1u,
     [](const Setting& s) { return !isKey(s, "masterserver") && hasAddress(s.value); }},
});

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The setting `line` makes, if it makes one.
std::optional<Setting> settingOf(std::string_view line) {
    const std::string_view text = trimmed(line);
    const std::size_t equals = text.find('=');
    if (text.empty() || text.front() == '#' || text.front() == ';' || text.front() == '[' ||
        equals == std::string_view::npos)
        return std::nullopt;
    std::string key = lowerAscii(trimmed(text.substr(0, equals)));
    std::erase(key, '"');
    return Setting{key, trimmed(text.substr(equals + 1))};
}

// The host of an address that may come with a scheme ("http://host:port/").
std::string_view hostOf(std::string_view value) {
    if (const std::size_t scheme = value.find("://"); scheme != std::string_view::npos)
        value.remove_prefix(scheme + 3);
    return masterHost(value.substr(0, value.find('/')));
}

// The game's default name, "Player", dressed with a brand ("Brand Player"), as a build's maker
// leaves it.
bool dressesTheDefaultName(std::string_view value) {
    const std::string lower = lowerAscii(value);
    const std::size_t at = lower.find("player");
    const auto letter = [](char c) { return c >= 'a' && c <= 'z'; };
    if (at == std::string::npos || (at > 0 && letter(lower[at - 1])) ||
        (at + 6 < lower.size() && letter(lower[at + 6])))
        return false;
    return std::count_if(lower.begin(), lower.end(), letter) >= 8;
}

void gather(const ScannedFile& file, Installation& installation) {
    installation.emulator = true;
    forEachLine(file.content, [&](std::string_view line, int) {
        const auto setting = settingOf(line);
        if (!setting)
            return;
        if (isKey(*setting, "playername") || isKey(*setting, "steamuser"))
            installation.brandedName |= dressesTheDefaultName(setting->value);
        const Rule* rule = firstMatch(kRows, 0, *setting);
        const std::string host = lowerAscii(hostOf(setting->value));
        if (rule == &kRows[0].rule)
            installation.foreignMasters.insert(host);
        else if (rule == &kRows[3].rule)
            installation.presetServers.insert(host);
    });
}

std::vector<Finding> judge(const ScannedFile& file, const Installation&) {
    return judgeLines(file, kRows, [](const TextLine& line) { return settingOf(line.text); });
}

constexpr auto kRules = rulesOf(kRows);

constexpr std::string_view kFolders[] = {kGameFolderItself};

constexpr Place kPlaces[] = {
    {kFolders, kEmulatorSettingsFile, Group::Config, Keep::Settings},
};

}  // namespace

const Family kEmulatorSettings{kPlaces, true, kRules, gather, judge};

}  // namespace morvane::scan
