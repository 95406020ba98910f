#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace morvane {

// Valve's master servers for the game: the server browser's Internet tab lists the servers they
// name. Sources: the two host names Valve's own lists gave from 2008 on, and the addresses the
// stock platform/config/MasterServers.vdf of the game and of Steam named before and beside them
// (2003 to 2013; since 2013 the game asks Steam itself, and builds sold without Steam still read
// the list). Nothing else in a list is Valve's.
inline constexpr std::array<std::string_view, 2> kValveMasterHosts{"hl1master.steampowered.com",
                                                                   "hl2master.steampowered.com"};
inline constexpr std::array<std::string_view, 16> kValveMasterAddresses{
    "69.28.151.162",  "207.173.177.11", "207.173.177.12", "68.142.72.250",
    "69.28.140.245",  "69.28.140.246",  "69.28.140.247",  "69.28.158.131",
    "209.197.20.34",  "72.165.61.189",  "72.165.61.190",  "208.78.164.208",
    "208.78.164.209", "68.177.101.62",  "208.64.200.117", "208.64.200.118"};

// What Valve's stock list gives a block of the list: "hl1" (the one the game reads) and "hl2";
// any other block gets hl1's.
inline constexpr std::string_view kValveStockHl1 = "hl1master.steampowered.com:27010";
inline constexpr std::string_view kValveStockHl2 = "hl2master.steampowered.com:27011";

// The host of a master's address ("host:port" or "host"), without the port.
std::string_view masterHost(std::string_view address);

// Whether `address` names one of Valve's masters, whatever its port and letter case.
bool isValveMaster(std::string_view address);

// The stock address Valve's list gives the block named `block`.
std::string_view valveStockMaster(std::string_view block);

// The emulator that game builds sold without Steam run the game with keeps its settings in the
// game folder (rev.ini, any letter case) and may read lists of its own (rev_MasterServers.vdf,
// rew_...). Its own stock settings file gives these defaults for what it does not set.
inline constexpr std::string_view kEmulatorSettingsFile = "rev*.ini";
inline constexpr std::array<std::string_view, 2> kEmulatorListPrefixes{"rev_", "rew_"};
inline constexpr std::string_view kEmulatorMaster = "213.239.209.221";

struct EmulatorDefault {
    std::string_view key;
    std::string_view value;
};
inline constexpr std::array<EmulatorDefault, 3> kEmulatorDefaults{{
    {"MasterServer", kEmulatorMaster},
    {"PlayerName", "REVOLUTiON"},
    {"SteamUser", "revCrew"},
}};

// The emulator's default for the setting `key` (any letter case), if it has one.
std::optional<std::string_view> emulatorDefault(std::string_view key);

}  // namespace morvane
