// What clean --keep-settings writes back of a master list, a favourites file and the emulator's
// settings: the planted things out, every other byte kept, whatever the file's line ends (LF,
// CRLF, CR alone), a final NUL byte, or all of it on one line.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/clean/Kept.h"
#include "core/scan/Installation.h"

namespace morvane::clean {
namespace {

struct Case {
    std::string_view what;
    std::string_view file;
    std::string_view content;
    std::string_view expected;
    // Another file of the installation: an emulator's settings make a build that reads its lists.
    std::string_view other = "rev.ini";
    std::string_view otherContent = "[Emulator]\nLanguage=English\n";
};

std::string kept(const Case& c) {
    const auto findings =
        scan::judgeFiles("/games/hl", {{std::string(c.file), std::string(c.content)},
                                       {std::string(c.other), std::string(c.otherContent)}});
    std::vector<scan::Finding> planted;
    for (const scan::Finding& finding : findings) {
        if (finding.file == c.file && finding.level() == scan::Level::Planted)
            planted.push_back(finding);
    }
    return planted.empty() ? std::string(c.content)
                           : keptContent(planted.front().place->keep, c.content, planted);
}

using namespace std::string_view_literals;

const Case kCases[] = {
    {"a list left without a master gets Valve's in place of its first, the rest keep their blocks",
     "platform/config/MasterServers.vdf",
     "\"MasterServers\"\n{\n\t\"hl1\"\n\t{\n\t\t\"0\"\n\t\t{\n\t\t\t\"addr\"\t\t\"203.0.113.9:"
     "27010\"\n"
     "\t\t}\n\t\t\"1\"\n\t\t{\n\t\t\t\"addr\"\t\t\"203.0.113.9:27011\"\n\t\t}\n\t}\n}\n",
     "\"MasterServers\"\n{\n\t\"hl1\"\n\t{\n\t\t\"0\"\n\t\t{\n"
     "\t\t\t\"addr\"\t\t\"hl1master.steampowered.com:27010\"\n"
     "\t\t}\n\t\t\"1\"\n\t\t{\n\t\t}\n\t}\n}\n"},
    {"CRLF and a final NUL; each block gets its own stock master", "config/rev_MasterServers.vdf",
     "\"MasterServers\"\r\n{\r\n\t\"hl1\"\r\n\t{\r\n\t\t\"0\" { \"addr\" \"ms.example.net:27010\" "
     "}\r\n"
     "\t}\r\n\t\"hl2\"\r\n\t{\r\n\t\t\"0\" { \"addr\" \"ms.example.net:27011\" }\r\n\t}\r\n}\r\n\0"sv,
     "\"MasterServers\"\r\n{\r\n\t\"hl1\"\r\n\t{\r\n"
     "\t\t\"0\" { \"addr\" \"hl1master.steampowered.com:27010\" }\r\n"
     "\t}\r\n\t\"hl2\"\r\n\t{\r\n\t\t\"0\" { \"addr\" \"hl2master.steampowered.com:27011\" "
     "}\r\n\t}\r\n}"
     "\r\n\0"sv},
    {"lines ending in CR alone; Valve's master stays, so nothing is put back",
     "config/MasterServers.vdf",
     "\"MasterServers\"\r{\r\"hl1\"\r{\r\"0\"\r{\r\"addr\" \"69.28.151.162:27010\"\r}\r\"1\"\r{\r"
     "\"addr\" \"198.51.100.4:27010\"\r}\r}\r}\r",
     "\"MasterServers\"\r{\r\"hl1\"\r{\r\"0\"\r{\r\"addr\" \"69.28.151.162:27010\"\r}\r\"1\"\r{\r"
     "}\r}\r}\r"},
    {"one line", "MasterServers.csb",
     "\"MasterServers\" { \"hl1\" { \"0\" { \"addr\" \"203.0.113.9:27010\" } \"1\" { \"addr\" "
     "\"69.28.151.162:27010\" } } }",
     "\"MasterServers\" { \"hl1\" { \"0\" { } \"1\" { \"addr\" \"69.28.151.162:27010\" } } }"},
    {"a planted favourite goes whole; the player's entries, history and filters stay",
     "config/ServerBrowser.vdf",
     "\"Filters\"\n{\n\t\"favorites\"\n\t{\n\t\t\"0\"\n\t\t{\n\t\t\t\"name\"\t\t\"Favorite server "
     "0\"\n"
     "\t\t\t\"address\"\t\t\"203.0.113.20:27015\"\n\t\t\t\"lastplayed\"\t\t\"999\"\n\t\t}\n\n"
     "\t\t\"1\"\n\t\t{\n\t\t\t\"name\"\t\t\"Our clan | example.org\"\n"
     "\t\t\t\"address\"\t\t\"198.51.100.31:27015\"\n\t\t\t\"lastplayed\"\t\t\"1712345678\"\n\t\t}\n"
     "\t}\n\t\"history\"\n\t{\n\t\t\"0\" { \"address\" \"192.168.1.5:27015\" }\n\t}\n"
     "\t\"gamelist\"\t\t\"favorites\"\n}\n",
     "\"Filters\"\n{\n\t\"favorites\"\n\t{\n\n"
     "\t\t\"1\"\n\t\t{\n\t\t\t\"name\"\t\t\"Our clan | example.org\"\n"
     "\t\t\t\"address\"\t\t\"198.51.100.31:27015\"\n\t\t\t\"lastplayed\"\t\t\"1712345678\"\n\t\t}\n"
     "\t}\n\t\"history\"\n\t{\n\t\t\"0\" { \"address\" \"192.168.1.5:27015\" }\n\t}\n"
     "\t\"gamelist\"\t\t\"favorites\"\n}\n"},
    {"favourites on one line", "platform/config/ServerBrowser.vdf",
     "\"Filters\" { \"favorites\" { \"0\" { \"name\" \"Server 1\" \"address\" "
     "\"203.0.113.20:27015\" "
     "\"lastplayed\" \"0\" } \"1\" { \"name\" \"Mine\" \"address\" \"198.51.100.31:27015\" } } "
     "\"history\" { \"0\" { \"address\" \"198.51.100.31:27015\" } } }",
     "\"Filters\" { \"favorites\" { \"1\" { \"name\" \"Mine\" \"address\" \"198.51.100.31:27015\" "
     "} "
     "} \"history\" { \"0\" { \"address\" \"198.51.100.31:27015\" } } }"},
    {"favourites with CRLF and a final NUL, the last entry planted", "config/ServerBrowser.vdf",
     "\"filters\"\r\n{\r\n\t\"favorites\"\r\n\t{\r\n\t\t\"1\"\r\n\t\t{\r\n"
     "\t\t\t\"address\"\t\"198.51.100.31:27015\"\r\n\t\t}\r\n\t\t\"2\"\r\n\t\t{\r\n"
     "\t\t\t\"name\"\t\"Favorite server 2\"\r\n\t\t\t\"address\"\t\"203.0.113.21:27015\"\r\n"
     "\t\t\t\"lastplayed\"\t\"999\"\r\n\t\t}\r\n\t}\r\n}\r\n\0"sv,
     "\"filters\"\r\n{\r\n\t\"favorites\"\r\n\t{\r\n\t\t\"1\"\r\n\t\t{\r\n"
     "\t\t\t\"address\"\t\"198.51.100.31:27015\"\r\n\t\t}\r\n\t}\r\n}\r\n\0"sv},
    {"the emulator's settings get its defaults back, or lose a server it has none for", "rev.ini",
     "[steamclient]\r\nPlayerName = www.example.net\r\nMasterServer=203.0.113.3:27010\r\n"
     "[Prefetch]\r\nHost=203.0.113.61\r\nPort=27015\r\n",
     "[steamclient]\r\nPlayerName = REVOLUTiON\r\nMasterServer=213.239.209.221\r\n"
     "[Prefetch]\r\nPort=27015\r\n",
     "cstrike/config.cfg", ""},
    {"settings with lines ending in CR alone", "Rev.ini",
     "[GameServer]\rRejectText=Get the client at example.net\rSteamUser=example.net\r",
     "[GameServer]\rSteamUser=revCrew\r", "cstrike/config.cfg", ""},
};

TEST(KeptSettings, TakesOutThePlantedAndKeepsEveryOtherByte) {
    for (const Case& c : kCases)
        EXPECT_EQ(kept(c), c.expected) << c.what;
}

}  // namespace
}  // namespace morvane::clean
