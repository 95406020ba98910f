// The scan's rules of the config files, layouts, welcome pages and downloads, one table each (see
// RuleCases.h); those of the settings' families are in SettingsRulesTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "core/scan/Addresses.h"
#include "core/scan/Protection.h"
#include "core/text/TextLines.h"
#include "tests/core/scan/RuleCases.h"

namespace morvane::scan {
namespace {

using test::Case;
using test::RuleTable;

// config.cfg, which the game writes itself.
constexpr Case kConfigWait[] = {
    {"cstrike/config.cfg", "wait;wait;wait;connect 192.0.2.44:27015", 1},
    {"cstrike/config.cfg", "fps_max \"101\"", 0},
    {"cstrike/config.cfg", "wait", 1, "config-wait-other"},
};
constexpr Case kConfigConnect[] = {
    {"cstrike_russian/config.cfg", "connect 203.0.113.5:27015", 1},
    {"valve/config.cfg", "unbindall\nretry", 2},
    {"cstrike/config.cfg", "cl_timeout \"60\"", 0},
};
constexpr Case kConfigAlias[] = {
    {"cstrike/config.cfg",
     "alias \"_spam\" \"say www.example.net\"",
     1,
     {},
     "bind \"j\" \"_spam\""},
    {"cstrike/config.cfg", "alias \"_spam\" \"say www.example.net\"", 1, "config-alias-other"},
    {"cstrike/config.cfg", "bind \"TAB\" \"+showscores\"", 0},
};
constexpr Case kConfigFileWrite[] = {
    {"cstrike/config.cfg", "motdfile \"autoexec.cfg\"", 1},
    {"cstrike/config.cfg", "setinfo \"_vgui_menus\" \"1\"", 0},
};
constexpr Case kConfigExec[] = {
    {"cstrike/config.cfg", "exec joystick.cfg\nexec userconfig.cfg", 1},
    {"cstrike/config.cfg", "exec userconfig.cfg\nEXEC userconfig.cfg", 1},
    {"cstrike/config.cfg", "+mlook\nexec userconfig.cfg\n", 0},
    {"cstrike/config.cfg", "exec controller.cfg\nexec userconfig.cfg", 0},
    {"cstrike/config.cfg", "exec keyboard.cfg\r\n+mlook\r\nexec userconfig.cfg\r\n", 0},
};
constexpr Case kNameBrand[] = {
    {"cstrike/config.cfg", "name \"Brandname | Player\"", 1},
    {"cstrike/config.cfg", "name \"<Brand Name> Player\"", 1},
    {"cstrike/config.cfg", "name \"Player\"", 0},
    {"cstrike/config.cfg", "name \"[T/W] Somebody\"", 0},
    {"cstrike/config.cfg", "name \"(1)Player\"", 0},
    {"cstrike/config.cfg", "name \"Best Player\"", 0},
};

// Every config file.
constexpr Case kBindConnect[] = {
    {"cstrike/config.cfg", "bind \"F1\" \"connect 203.0.113.5:27015\"", 1},
    {"cstrike/config.cfg", "bind \"F9\" \"retry\"", 1},
    {"cstrike/config.cfg",
     "bind \"F5\" \"_go\"",
     1,
     {},
     "alias _hop \"connect 192.0.2.1:27015\"\nalias _go \"wait; _hop\""},
    {"cstrike/userconfig.cfg", "bind \"F9\" \"retry\"", 0},
    {"cstrike/config.cfg", "bind \"F1\" \"autobuy\"", 0},
    {"cstrike/config.cfg",
     "bind \"MOUSE3\" \"+quickzoom\"",
     0,
     {},
     "alias \"+quickzoom\" \"+attack2\""},
};
constexpr Case kBindSay[] = {
    {"cstrike/config.cfg", "bind \"z\" \"say Visit www.example.net\"", 1},
    {"cstrike/config.cfg", "bind \"INS\" \"say_team bombsite A\"", 0},
    {"cstrike/userconfig.cfg",
     "bind \"TAB\" \"+showscores; _ad\"",
     1,
     {},
     "alias \"_AD\" \"say VISIT OUR SERVER 198.51.100.23:27016\""},
    {"cstrike/userconfig.cfg",
     "bind \"h\" \"cycle\"",
     0,
     {},
     "alias \"cycle\" \"c1\"\nalias \"c1\" \"alias cycle c2; say_team Nice one, team!\"\n"
     "alias \"c2\" \"alias cycle c1; say_team Hold the bomb site\""},
    {"cstrike/config.cfg", "bind \"x\" \"say Join us at example.ro\"", 1},
    {"cstrike/config.cfg", "bind \"h\" \"say /rs\"", 0},
    {"cstrike/config.cfg", "bind \"y\" \"messagemode\"", 0},
};
constexpr Case kBindSayPlayKey[] = {
    {"cstrike/config.cfg", "bind \"w\" \"say Our community is the best\"", 1},
    {"cstrike/config.cfg", "bind \"MOUSE1\" \"+attack; say_team Example Community rules\"", 1},
    {"cstrike/config.cfg", "bind \"HOME\" \"say_team rushing long\"", 0},
    {"cstrike/config.cfg", "bind \"w\" \"+forward;showmyview\"", 0},
};
constexpr Case kBindAddress[] = {
    {"cstrike/autoexec.cfg", "bind \"F7\" \"echo 203.0.113.5:27015\"", 1},
    {"cstrike/config.cfg", "bind \"F8\" \"name Player | example.ro\"", 1},
    {"cstrike/config.cfg", "bind \"F6\" \"save quick\"", 0},
    {"cstrike/autoexec.cfg", "bind \"F7\" \"echo Volume 100%\"", 0},
};
constexpr Case kSayAddress[] = {
    {"cstrike/userconfig.cfg", "say \"Forum: www.example.net\"", 1},
    {"cstrike/config.cfg", "say_team \"Visit www.example.net\"", 1},
    {"cstrike/userconfig.cfg", "alias \"_ad\" \"say example.lt\"", 1, {}, "bind \"F2\" \"_ad\""},
    {"cstrike/userconfig.cfg", "say gg", 0},
};
constexpr Case kEchoAddress[] = {
    {"cstrike/language.cfg", "echo \"Forum: www.example.net\"", 1},
    {"cstrike_hd/hw/opengl.cfg", "gl_dither \"1\"\necho \"Best settings by www.example.net\"", 2},
    {"valve/hw/d3d.cfg", "gl_max_size \"256\"\necho \"Renderer settings loaded\"", 0},
    {"cstrike/userconfig.cfg", "echo \"\t\t  .::www.EXAMPLE.LT::.\"", 1},
    {"cstrike/userconfig.cfg", "echo \"mine.cfg loaded\"", 0},
    {"cstrike/userconfig.cfg", "echo \"-- my own binds are in --\"", 0},
};
constexpr Case kNameAddress[] = {
    {"cstrike/config.cfg", "name \"Player | www.example.ro\"", 1},
    {"cstrike/userconfig.cfg", "setinfo \"site\" \"example.ro\"", 1},
    {"cstrike/config.cfg", "name \"quietOtter\"", 0},
    {"cstrike/config.cfg", "setinfo \"_vgui_menus\" \"1\"", 0},
};

// The player's own files.
constexpr Case kOwnConnect[] = {
    {"cstrike/autoexec.cfg", "connect 203.0.113.5:27015", 1},
    {"valve/valve.rc", "exec default.cfg\nwait;wait;connect 198.51.100.23:27016", 2},
    {"cstrike/userconfig.cfg",
     "alias \"_go\" \"connect 203.0.113.5:27015\"",
     1,
     {},
     "bind \"F5\" \"_go\""},
    {"cstrike/userconfig.cfg", "alias \"_go\" \"connect 203.0.113.5:27015\"", 1,
     "own-unreached-alias"},
    {"valve/valve.rc", "exec config.cfg", 0},
    {"cstrike_german/default.cfg", "bind \"w\" \"+forward\"\nconnect 198.51.100.23:27016", 2},
    {"cstrike_addon/violence.cfg", "violence_hblood \"1\"", 0},
    {"cstrike/autoexec.cfg", "alias \"r\" \"retry\"", 0},
};
constexpr Case kOwnUnreachedAlias[] = {
    {"cstrike/userconfig.cfg", "alias s1 \"connect 192.0.2.9:27016\" // my favourite", 1},
    {"cstrike/autoexec.cfg", "alias \"_site\" \"say example.ro\"", 1},
    {"cstrike/userconfig.cfg", "alias \"dropbomb\" \"use weapon_c4; drop\"", 0},
};
constexpr Case kOwnServerConnect[] = {
    {"cstrike/userconfig.cfg",
     "alias\tmine\t\t\"connect 198.51.100.7:27022; password secret; rcon_password secret", 1},
    {"cstrike/userconfig.cfg",
     "bind \"F5\" \"mine\"",
     1,
     {},
     "alias mine \"connect 198.51.100.7:27022; password secret\""},
    {"cstrike/userconfig.cfg", "bind \"F5\" \"connect 203.0.113.5:27015\"", 1, "bind-connect"},
    {"cstrike/userconfig.cfg", "password \"secret\"", 0},
};
constexpr Case kConfigAliasOther[] = {
    {"cstrike/config.cfg", "alias \"+bhop\" \"+jump\"", 1},
    {"cstrike/config.cfg", "bind \"SPACE\" \"+jump\"", 0},
};
constexpr Case kConfigWaitOther[] = {
    {"cstrike/config.cfg", "wait; wait", 1},
    {"cstrike/config.cfg", "+jlook", 0},
};
constexpr Case kSetinfoMarker[] = {
    {"cstrike/config.cfg", "setinfo \"_gm\" \"1\"", 1},
    {"cstrike_russian/userconfig.cfg", "SETINFO boost 1", 1},
    {"cstrike/config.cfg", "setinfo \"_vgui_menus\" \"1\"", 0},
};
constexpr Case kConfigSay[] = {
    {"cstrike/config.cfg", "echo \"config loaded\"", 1},
    {"cstrike/config.cfg", "// say hello", 0},
};

// Layouts, read as the KeyValues they are.
constexpr Case kMenuConnect[] = {
    {"cstrike/resource/GameMenu.res", "\t\t\"command\" \"engine connect 203.0.113.5:27015\"", 1},
    {"cstrike/resource/GameMenu.res",
     "\"GameMenu\"\n{\n\t\"1\" { \"label\" \"Join\" \"command\" \"engine Connect "
     "play.example.rs:27015\" }"
     "\n}\n",
     3},
    {"cstrike/resource/GameMenu.res",
     "\"GameMenu\"\n{\n\t\"1\"\n\t{\n\t\t\"label\" \"Our server\"\n\t\t\"command\" \"ENGINE "
     "\"connect 192.0.2.8:27015\"\"\n\t}\n}\n",
     6},
    {"cstrike_downloads/resource/GameMenu.res", "\"command\" \"Disconnect\"", 0},
    {"cstrike/resource/GameMenu.res",
     "\"1\"\n{\n\"label\" \"#GameUI_GameMenu_RandomServer\"\n\"command\" "
     "\"ConnectToRandomServer\"\n}",
     0},
};
constexpr Case kLayoutAddress[] = {
    {"cstrike/resource/LoadingDialog.res", "\t\t\"URL\"\t\t\"http://www.example.net/banner.html\"",
     1},
    {"cstrike/resource/UI/ScoreBoard.res", "\"labelText\" \"*** 203.0.113.5:27015 ***\"", 1},
    {"cstrike/resource/GameMenu.res", "\"1\"\n{\n\t\"label\" \"PLAY.EXAMPLE.COM # here\"\n}\n", 3},
    {"cstrike/resource/LoadingDialogVAC.res", "\"labelText\" \"#GameUI_LoadingDialog_VACSecure\"",
     0},
    {"cstrike/resource/LoadingDialog.res", "\"image\" \"gfx/images/banner_v1.tga\"", 0},
    {"cstrike/resource/LoadingDialogDualProgress.res", "\"labelText\" \"play.example.net\"", 1},
    {"cstrike/resource/LoadingDialogError.res", "\"labelText\" \"#GameUI_Disconnected\"", 0},
};
constexpr Case kLayoutOneLine[] = {
    {"cstrike/resource/LoadingDialog.res",
     "\"Resource/LoadingDialog.res\" { \"LoadingDialog\" { \"ControlName\" \"Frame\" } "
     "\"Banner\" { \"ControlName\" \"ImagePanel\" \"image\" \"gfx/server_banner\" } }",
     1},
    {"cstrike/resource/GameMenu.res",
     "\"GameMenu\" { \"1\" { \"label\" \"#GameUI_GameMenu_Quit\" \"command\" \"Quit\" } }", 1},
    // A file whose lines end with a lone CR is not one line.
    {"cstrike/resource/LoadingDialogNoBanner.res",
     "\"Resource/LoadingDialog.res\"\r{\r\"LoadingDialog\"\r{\r\"ControlName\" \"Frame\"\r}\r}\r",
     0},
    {"cstrike/resource/GameMenu.res",
     "\"GameMenu\"\n{\n\t\"1\" { \"label\" \"#GameUI_GameMenu_Quit\" \"command\" \"Quit\" }\n}\n",
     0},
};

// Welcome pages.
constexpr Case kWelcomeAddress[] = {
    {"cstrike/motd.txt", "<a href=\"http://www.example.net/\">forum</a>", 1},
    {"cstrike_downloads/motd.txt", "Add us: 198.51.100.23:27016", 1},
    {"cstrike/motd_temp.html", "<body style=\"background: url('https://img.example.org/b.png')\">",
     1},
    {"cstrike/motd.txt", "Website: http://PLAY.EXAMPLE.ro<br>", 1},
    {"cstrike/motd.txt", "<iframe src=\"http://__SERVER_IP__:8016/stats/index.php\"", 1},
    {"cstrike/motd.txt",
     "Files userconfig.cfg, de_dust2.bsp; version 1.6, 256.1.1.1:27015 or 1.2.3.4:0", 0},
    // The stock page: its document type and the game's own site.
    {"cstrike/motd.txt",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
     "\"http://www.w3.org/TR/1999/REC-html401-19991224/loose.dtd\">\n"
     "Visit the official CS web site @\nwww.counter-strike.net\n"
     "<a href=\"http://www.counter-strike.net\">Visit Counter-Strike.net</a>",
     0},
    // Style sheets name classes, not sites.
    {"cstrike/motd.txt", "<style>\ndiv.top, span.red { color: #fc0 }\n</style>\n<p>Rules</p>", 0},
};
constexpr Case kWelcomeServerName[] = {
    {"cstrike/motd.txt", "<html>\n<title>Bienvenido a Example Strike (Server 1.6)</title>", 2},
    {"cstrike/motd.txt", "<h1>Welcome to Example Public</h1>", 1},
    {"cstrike/motd.txt", "<title>Cstrike MOTD</title>", 0},
    {"cstrike/motd.txt", "<title>Welcome to Counter-Strike 1.6</title>", 0},
    {"cstrike/motd.txt", "<p>Welcome to our server</p>\n<h1>Server rules</h1>", 0},
};

constexpr Case kDownloadedCfg[] = {
    {"cstrike_downloads/config.cfg", "fps_max \"101\"", 1},
    {"cstrike_downloads/maps/de_x.CFG", "", 1},
    {"cstrike_downloads/maps/de_x.txt", "fps_max \"101\"", 0},
    {"cstrike/listenserver.cfg", "connect 203.0.113.5:27015", 0},
};

const RuleTable kTables[] = {
    {"config-wait", kConfigWait},
    {"config-connect", kConfigConnect},
    {"config-alias", kConfigAlias},
    {"config-file-write", kConfigFileWrite},
    {"config-exec", kConfigExec},
    {"name-brand", kNameBrand},
    {"bind-connect", kBindConnect},
    {"bind-say", kBindSay},
    {"bind-say-play-key", kBindSayPlayKey},
    {"bind-address", kBindAddress},
    {"say-address", kSayAddress},
    {"echo-address", kEchoAddress},
    {"name-address", kNameAddress},
    {"own-connect", kOwnConnect},
    {"own-server-connect", kOwnServerConnect},
    {"own-unreached-alias", kOwnUnreachedAlias},
    {"config-alias-other", kConfigAliasOther},
    {"config-wait-other", kConfigWaitOther},
    {"setinfo-marker", kSetinfoMarker},
    {"config-say", kConfigSay},
    {"menu-connect", kMenuConnect},
    {"layout-address", kLayoutAddress},
    {"layout-one-line", kLayoutOneLine},
    {"welcome-address", kWelcomeAddress},
    {"welcome-server-name", kWelcomeServerName},
    {"downloaded-cfg", kDownloadedCfg},
};

class ScanRule : public testing::TestWithParam<RuleTable> {};

TEST_P(ScanRule, FlagsItsPlantedShapeAndNotTheOrdinaryOne) {
    test::expectTable(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachRule, ScanRule, testing::ValuesIn(kTables), test::testName);

TEST(ScanRules, EveryRuleHasItsTableAndPlantedOnesComeFirst) {
    std::set<std::string_view> tabled;
    for (const RuleTable& table : kTables)
        tabled.insert(table.rule);
    for (const RuleTable& table : test::settingsTables())
        tabled.insert(table.rule);
    for (const Family* family : families()) {
        bool suspectSeen = false;
        for (const Rule* rule : family->rules) {
            EXPECT_TRUE(tabled.contains(rule->id)) << rule->id << " has no table";
            EXPECT_FALSE(rule->reason.empty()) << rule->id;
            if (rule->level == Level::Suspect)
                suspectSeen = true;
            else
                EXPECT_FALSE(suspectSeen) << rule->id << " comes after a suspect rule";
        }
    }
    EXPECT_EQ(tabled.size(), allRules().size());
}

TEST(Addresses, ThePublicSuffixListTellsDomainsFromFileNamesAndNumbers) {
    for (std::string_view domain : {"example.ro", "PLAY.EXAMPLE.LT", "example.co.uk", "example.rs",
                                    "xn--e1afmkfd.xn--p1ai", "a-b.example.gg"})
        EXPECT_TRUE(isDomain(domain)) << domain;
    for (std::string_view other : {"co.uk", "ro", "config.cfg", "sound.wav", "de_dust2.bsp", "2.5",
                                   "example.notasuffix", "example..ro"})
        EXPECT_FALSE(isDomain(other)) << other;
    for (std::string_view text :
         {"say example.ro", "ask admin@example.lt", "http://__MY_IP__:8016/", "www.example",
          "203.0.113.5:27015", "connect 198.51.100.23", "join play.example.rs:27015"})
        EXPECT_TRUE(hasAddress(text)) << text;
    for (std::string_view text :
         {"exec config.cfg", "play sound.wav on de_dust2.bsp", "gamma 2.5", "m_pitch 0.022",
          "256.1.1.1:27015", "1.2.3.4:0", "version 1.6.0.1", "gamedll_linux dlls/cs.so",
          "end of the round.Game on", "weapon_c4.mdl", "cl_crosshair_color \"50 250 50\"",
          "www.counter-strike.net", "http://www.w3.org/TR/html4/loose.dtd",
          "http://store.steampowered.com/"})
        EXPECT_FALSE(hasAddress(text)) << text;
    EXPECT_FALSE(hasAddressInCode("div.top span.red a.link"));
    EXPECT_TRUE(hasAddressInCode("background: url(http://img.example.net/b.png)"));
}

TEST(TextLines, SplitsAtEveryLineEndSoThatMixedEndsNeverRunLinesTogether) {
    const auto lines = [](std::string_view content) {
        std::vector<std::string> out;
        forEachTextLine(content, [&](const TextLine& line) {
            out.push_back(std::string(line.text) + "|" + std::string(line.end));
        });
        return out;
    };
    EXPECT_EQ(lines("a\r\nb\nc"), (std::vector<std::string>{"a|\r\n", "b|\n", "c|"}));
    EXPECT_EQ(lines("a\rb\r"), (std::vector<std::string>{"a|\r", "b|\r"}));
    // A line added with LF to a file of lone CRs, as an editor of another system adds it.
    EXPECT_EQ(lines("a\rb\nc\r\r\n"), (std::vector<std::string>{"a|\r", "b|\n", "c|\r", "|\r\n"}));
    EXPECT_EQ(lineEndOf("a\r\nb\rc"), "\r");
    EXPECT_EQ(lineEndOf("a"), "\n");
    EXPECT_EQ(lines(""), std::vector<std::string>{});
}

TEST(ScanRules, TheLastSettingOfClFilterstuffcmdCounts) {
    EXPECT_EQ(filterSettingIn("cl_timeout \"60\"\n// cl_filterstuffcmd 1\n"), std::nullopt);
    EXPECT_EQ(filterSettingIn("cl_filterstuffcmd \"1\"\n"), true);
    EXPECT_EQ(filterSettingIn("CL_FILTERSTUFFCMD 1; cl_filterstuffcmd \"0\"\r\n"), false);
    EXPECT_EQ(filterSettingIn("cl_filterstuffcmd 0\ncl_filterstuffcmd \"1.0\""), true);
}

}  // namespace
}  // namespace morvane::scan
