// The rules of the master-server lists, the server browser's favourites and history, and the
// emulator's settings, one table each (see RuleCases.h). Whether a master or an entry is planted
// depends on the rest of the installation, which each case names.
#include <gtest/gtest.h>

#include "tests/core/scan/RuleCases.h"

namespace morvane::scan {
namespace test {
namespace {

constexpr std::string_view kForeignList =
    "\"MasterServers\"\n{\n\t\"hl1\"\n\t{\n\t\t\"0\"\n\t\t{\n"
    "\t\t\t\"addr\"\t\t\"203.0.113.9:27010\"\n\t\t}\n\t}\n}\n";
constexpr std::string_view kValveList =
    "\"MasterServers\"\r\n{\r\n\t\"hl1\"\r\n\t{\r\n\t\t\"0\"\r\n\t\t{\r\n"
    "\t\t\t\"addr\"\t\t\"hl1master.steampowered.com:27010\"\r\n\t\t}\r\n\t}\r\n}\r\n\0";
constexpr Other kEmulator{"rev.ini", "[Emulator]\nLanguage=English\n"};
constexpr std::string_view kSteamGame = "/home/p/.local/share/Steam/steamapps/common/Half-Life";

constexpr Case kMasterAddress[] = {
    // A list the build brought, beside the game's: its emulator reads it.
    {"config/MasterServers.vdf", kForeignList, 7},
    {"platform/config/MasterServers.vdf", kForeignList, 7, {}, {}, kEmulator},
    // The game's own list, in a build: the game's config files beside it.
    {"platform/config/MasterServers.vdf", kForeignList, 7, {}, "fps_max \"100\""},
    {"REW_MasterServers2.vdf",
     "\"MasterServers\" { \"hl1\" { \"0\" { \"addr\" \"ms.example.net:27010\" } \"1\" { \"addr\" "
     "\"69.28.151.162:27010\" } } }\0",
     1},
    // Lines ending in CR alone; a Steam library's folder holding an emulator build.
    {"config/rev_MasterServers.vdf",
     "\"MasterServers\"\r{\r\"hl1\"\r{\r\"0\"\r{\r\"addr\" \"198.51.100.4:27011\"\r}\r}\r}\r",
     7,
     {},
     {},
     {},
     kSteamGame},
    {"config/MasterServers.vdf", kValveList, 0},
    {"config/MasterServers.vdf.vdf",
     "\"MasterServers\" { \"hl1\" { \"0\" { \"addr\" \"207.173.177.11:27010\" } } }", 0},
};
// A list by itself, as published.
constexpr Case kMasterAddressAlone[] = {
    {"platform/config/MasterServers.vdf", kForeignList, 7},
    {"platform/config/MasterServers.vdf", kValveList, 0},
};
constexpr Case kMasterAddressSteam[] = {
    {"platform/config/MasterServers.vdf", kForeignList, 7, {}, {}, {}, kSteamGame},
    {"platform/config/MasterServers.vdf", kValveList, 0, {}, {}, {}, kSteamGame},
};

// Favourites: a generic name with a time the game never writes, beside the player's own.
constexpr std::string_view kGenericFavourite =
    "\"Filters\"\n{\n\t\"favorites\"\n\t{\n"
    "\t\t\"0\"\n\t\t{\n\t\t\t\"name\"\t\t\"Favorite server 3\"\n"
    "\t\t\t\"address\"\t\t\"203.0.113.20:27015\"\n\t\t\t\"lastplayed\"\t\t\"999\"\n\t\t}\n"
    "\t\t\"1\"\n\t\t{\n\t\t\t\"name\"\t\t\"Friday Mix | example.org\"\n"
    "\t\t\t\"address\"\t\t\"198.51.100.31:27015\"\n\t\t\t\"lastplayed\"\t\t\"1712345678\"\n\t\t}\n"
    "\t}\n\t\"history\"\n\t{\n\t\t\"0\" { \"name\" \"Friday Mix | example.org\" \"address\" "
    "\"198.51.100.31:27015\" \"lastplayed\" \"1712345678\" }\n\t}\n}\n";
// The same with a real time: a generic name alone is one sign.
constexpr std::string_view kGenericNamedOwn =
    "\"Filters\" { \"favorites\" { \"0\" { \"name\" \"Favorite server 3\" \"address\" "
    "\"203.0.113.20:27015\" \"lastplayed\" \"1712000000\" } } \"history\" { \"0\" { \"address\" "
    "\"198.51.100.31:27015\" } } }";
// A run of one host's ports put in within minutes, named after one site.
constexpr std::string_view kRun =
    "\"Filters\" { \"favorites\" {\n"
    "\"1\" { \"name\" \"EXAMPLE.net | DM\" \"address\" \"203.0.113.40:27015\" \"lastplayed\" "
    "\"1600000000\" }\n"
    "\"2\" { \"name\" \"EXAMPLE.net | Knife\" \"address\" \"203.0.113.40:27016\" \"lastplayed\" "
    "\"1600000060\" }\n"
    "\"3\" { \"name\" \"EXAMPLE.net | Surf\" \"address\" \"203.0.113.40:27017\" \"lastplayed\" "
    "\"1600000120\" }\n"
    "} \"history\" { \"1\" { \"address\" \"192.168.1.5:27015\" } } }\n";
// The same servers, played now and then over a month: a player's own.
constexpr std::string_view kPlayedOverAMonth =
    "\"Filters\" { \"favorites\" {\n"
    "\"1\" { \"name\" \"EXAMPLE.net | DM\" \"address\" \"203.0.113.40:27015\" \"lastplayed\" "
    "\"1600000000\" }\n"
    "\"2\" { \"name\" \"EXAMPLE.net | Knife\" \"address\" \"203.0.113.40:27016\" \"lastplayed\" "
    "\"1601000000\" }\n"
    "\"3\" { \"name\" \"EXAMPLE.net | Surf\" \"address\" \"203.0.113.40:27017\" \"lastplayed\" "
    "\"1602500000\" }\n"
    "} \"history\" { \"1\" { \"address\" \"192.168.1.5:27015\" } } }\n";
// One favourite in a build as its maker left it: no history, and the maker's brand on the name.
constexpr std::string_view kLoneFavourite =
    "\"filters\"\r\n{\r\n\t\"favorites\"\r\n\t{\r\n\t\t\"1\"\r\n\t\t{\r\n"
    "\t\t\t\"name\"\t\t\"198.51.100.66:27015\"\r\n\t\t\t\"address\"\t\t\"198.51.100.66:27015\"\r\n"
    "\t\t\t\"lastplayed\"\t\t\"1700000000\"\r\n\t\t}\r\n\t}\r\n}\r\n";
constexpr Other kBrandedEmulator{"rev.ini", "[steamclient]\r\nPlayerName=Brandname Player\r\n"};

constexpr Case kFavouriteAdded[] = {
    {"config/rev_ServerBrowser.vdf", kGenericFavourite, 8},
    {"config/rev_ServerBrowser.vdf", kGenericNamedOwn, 0},
    {"platform/config/ServerBrowser.vdf", kRun, 2, {}, {}, {}, "/games/hl", 3},
    {"platform/config/ServerBrowser.vdf", kPlayedOverAMonth, 0},
    {"config/ServerBrowser.vdf", kLoneFavourite, 8, {}, {}, kBrandedEmulator},
    {"config/ServerBrowser.vdf", kLoneFavourite, 0},
    // The build's own master, and a time shared with another entry.
    {"platform/ServerBrowser.vdf",
     "\"Filters\" { \"favorites\" { \"0\" { \"name\" \"Our DM\" \"address\" \"203.0.113.9:27015\" "
     "\"lastplayed\" \"1650000000\" } \"1\" { \"name\" \"Other\" \"address\" "
     "\"198.51.100.2:27015\" \"lastplayed\" \"1650000000\" } } \"history\" { \"0\" { \"address\" "
     "\"192.0.2.7:27015\" } } }",
     1,
     {},
     {},
     {"config/MasterServers.vdf", kForeignList}},
    // A LAN server, whatever its signs.
    {"platform/config/ServerBrowser.vdf",
     "\"Filters\" { \"favorites\" { \"0\" { \"name\" \"Server 1\" \"address\" "
     "\"192.168.0.10:27015\" \"lastplayed\" \"0\" } } }",
     0},
};
constexpr Case kFavouriteAddedServer[] = {
    {"config/ServerBrowser.vdf",
     "\"Filters\" { \"favorites\" {\n\"0\" { \"name\" \"Favorite server 0\" \"address\" "
     "\"203.0.113.20:27015\" \"lastplayed\" \"0\" }\n} \"history\" {\n\"0\" { \"name\" "
     "\"203.0.113.20:27015\" \"address\" \"203.0.113.20:27015\" \"lastplayed\" \"1690000000\" }\n"
     "\"1\" { \"name\" \"Public\" \"address\" \"198.51.100.5:27015\" \"lastplayed\" "
     "\"1690003000\" }\n} }",
     4,
     {},
     {},
     {},
     "/games/hl",
     2},
    {"config/ServerBrowser.vdf",
     "\"Filters\" { \"history\" {\n\"0\" { \"name\" \"Public\" \"address\" \"203.0.113.20:27015\" "
     "\"lastplayed\" \"1690000000\" }\n} }",
     0},
};

// The emulator's settings.
constexpr Case kRevMaster[] = {
    {"rev.ini", "[steamclient]\r\nMasterServer=198.51.100.77:27010\r\n", 2},
    {"REV.INI", "[steamclient]\nMasterServer = 213.239.209.221\n", 0},
    {"rev.ini", "MasterServer=hl1master.steampowered.com:27010\n#MasterServer=203.0.113.1\n", 0},
};
constexpr Case kRevNameSite[] = {
    {"rev.ini", "[steamclient]\nPlayerName=www.example.net\n", 2},
    {"rev.ini", "[steamclient]\nPlayerName=Brandname Player\nSteamUser=revCrew\n", 0},
};
constexpr Case kRevRejectSite[] = {
    {"rev.ini", "[GameServer]\rRejectText=Get the new client at example.net\r", 2},
    {"rev.ini", "[GameServer]\rRejectText=Your client is too old\r", 0},
};
constexpr Case kRevServerAddress[] = {
    {"rev.ini", "[Prefetch]\nHost=203.0.113.61\nPort=27015\n", 2},
    {"rev.ini", "[Prefetch]\nFastDL=http://dl.example.net:8080/cstrike/\n", 2},
    {"rev.ini", "[Emulator]\nCachePath=C:\\Games\\SteamApps\nDlls=example.dll\nPort=27015\n", 0},
};

constexpr Case kRevAddressInSetting[] = {
    {"rev.ini", "[Loader]\nProcName=hl.exe -game cstrike +connect 203.0.113.61:27015\n", 2},
    {"rev.ini", "[Loader]\nProcName=hl.exe -game cstrike\n", 0},
};

const RuleTable kTables[] = {
    {"master-address", kMasterAddress},
    {"master-address-alone", kMasterAddressAlone},
    {"master-address-steam", kMasterAddressSteam},
    {"favourite-added", kFavouriteAdded},
    {"favourite-added-server", kFavouriteAddedServer},
    {"rev-master", kRevMaster},
    {"rev-name-site", kRevNameSite},
    {"rev-reject-site", kRevRejectSite},
    {"rev-server-address", kRevServerAddress},
    {"rev-address-in-setting", kRevAddressInSetting},
};

class SettingsRule : public testing::TestWithParam<RuleTable> {};

TEST_P(SettingsRule, FlagsItsPlantedShapeAndNotTheOrdinaryOne) {
    expectTable(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachRule, SettingsRule, testing::ValuesIn(kTables), testName);

}  // namespace

std::span<const RuleTable> settingsTables() {
    return kTables;
}

}  // namespace test
}  // namespace morvane::scan
