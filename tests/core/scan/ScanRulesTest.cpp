// The scan's rules: each one flags what servers plant and leaves the ordinary line of the same
// shape alone.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "core/scan/Protection.h"
#include "core/scan/Rules.h"

namespace morvane::scan {
namespace {

struct Case {
    std::string_view rule;          // the rule the case is about
    std::string_view file;          // below the game folder
    std::string_view content;       // the whole file
    int flaggedLine;                // the one line the rule must report; 0: nothing may be reported
    std::string_view aliases = {};  // another config file's lines, for aliases defined elsewhere
};

// Ordinary lines are those the game writes into config.cfg and the player's own settings.
constexpr Case kCases[] = {
    {"config-alias", "cstrike/config.cfg", "alias \"_spam\" \"say www.example.net\"", 1},
    {"config-alias", "cstrike/config.cfg", "bind \"TAB\" \"+showscores\"", 0},
    {"config-wait", "cstrike/config.cfg", "wait;wait;wait;connect 192.0.2.44:27015", 1},
    {"config-wait", "cstrike/config.cfg", "fps_max \"101\"", 0},
    {"config-connect", "cstrike_russian/config.cfg", "connect 203.0.113.5:27015", 1},
    {"config-connect", "valve/config.cfg", "unbindall\nretry", 2},
    {"config-connect", "cstrike/config.cfg", "cl_timeout \"60\"", 0},
    {"config-say", "cstrike/config.cfg", "say_team \"Visit www.example.net\"", 1},
    {"config-say", "cstrike/config.cfg", "con_color \"255 180 30\"", 0},
    {"config-file-write", "cstrike/config.cfg", "motdfile \"autoexec.cfg\"", 1},
    {"config-file-write", "cstrike/config.cfg", "setinfo \"_vgui_menus\" \"1\"", 0},
    {"config-exec", "cstrike/config.cfg", "exec joystick.cfg\nexec userconfig.cfg", 1},
    {"config-exec", "cstrike/config.cfg", "exec userconfig.cfg\nEXEC userconfig.cfg", 1},
    {"config-exec", "cstrike/config.cfg", "+mlook\nexec userconfig.cfg\n", 0},
    {"bind-connect", "cstrike/config.cfg", "bind \"F1\" \"connect 203.0.113.5:27015\"", 1},
    {"bind-connect", "cstrike/config.cfg", "bind \"F9\" \"retry\"", 1},
    {"bind-connect", "cstrike/config.cfg", "bind \"F5\" \"_go\"", 1,
     "alias _hop \"connect 192.0.2.1:27015\"\nalias _go \"wait; _hop\""},
    {"bind-connect", "cstrike/userconfig.cfg", "bind \"F9\" \"retry\"", 0},
    {"bind-connect", "cstrike/config.cfg", "bind \"F1\" \"autobuy\"", 0},
    {"bind-connect", "cstrike/config.cfg", "bind \"MOUSE3\" \"+quickzoom\"", 0,
     "alias \"+quickzoom\" \"+attack2\""},
    {"bind-say", "cstrike/config.cfg", "bind \"z\" \"say Visit www.example.net\"", 1},
    {"bind-say", "cstrike/userconfig.cfg", "bind \"TAB\" \"+showscores; _ad\"", 1,
     "alias \"_AD\" \"say VISIT OUR SERVER\""},
    {"bind-say", "cstrike/config.cfg", "bind \"y\" \"messagemode\"", 0},
    {"bind-address", "cstrike/autoexec.cfg", "bind \"F7\" \"echo 203.0.113.5:27015\"", 1},
    {"bind-address", "cstrike/config.cfg", "bind \"F6\" \"save quick\"", 0},
    {"own-connect", "cstrike/userconfig.cfg", "alias \"_go\" \"connect 203.0.113.5:27015\"", 1},
    {"own-connect", "valve/valve.rc", "exec default.cfg\nwait;wait;connect 198.51.100.23:27016", 2},
    {"own-connect", "valve/valve.rc", "exec config.cfg", 0},
    {"own-connect", "cstrike/autoexec.cfg", "alias \"r\" \"retry\"", 0},
    {"own-say", "cstrike/joystick.cfg", "alias \"_ad\" \"say VISIT\"", 1},
    {"own-say", "cstrike/userconfig.cfg", "alias \"dropbomb\" \"use weapon_c4; drop\"", 0},
    {"own-address", "cstrike/language.cfg", "echo \"Forum: www.example.net\"", 1},
    {"own-address", "cstrike/violence.cfg", "exec mybinds.cfg // gamma 2.5, m_pitch 0.022", 0},
    {"menu-connect", "cstrike/resource/GameMenu.res",
     "\t\t\"command\" \"engine connect 203.0.113.5:27015\"", 1},
    {"menu-connect", "cstrike_downloads/resource/GameMenu.res", "\"command\" \"Disconnect\"", 0},
    {"layout-address", "cstrike/resource/LoadingDialog.res",
     "\t\t\"URL\"\t\t\"http://www.example.net/banner.html\"", 1},
    {"layout-address", "cstrike/resource/UI/ScoreBoard.res",
     "\"labelText\" \"*** 203.0.113.5:27015 ***\"", 1},
    {"layout-address", "cstrike/resource/LoadingDialogVAC.res",
     "\"labelText\" \"#GameUI_LoadingDialog_VACSecure\"", 0},
    {"welcome-address", "cstrike/motd.txt", "<a href=\"http://www.example.net/\">forum</a>", 1},
    {"welcome-address", "cstrike_downloads/motd.txt", "Add us: 198.51.100.23:27016", 1},
    {"welcome-address", "cstrike/motd.txt",
     "Files userconfig.cfg, de_dust2.bsp; version 1.6, 256.1.1.1:27015 or 1.2.3.4:0", 0},
    {"downloaded-cfg", "cstrike_downloads/config.cfg", "fps_max \"101\"", 1},
    {"downloaded-cfg", "cstrike_downloads/maps/de_x.CFG", "", 1},
    {"downloaded-cfg", "cstrike_downloads/maps/de_x.txt", "fps_max \"101\"", 0},
    {"downloaded-cfg", "cstrike/listenserver.cfg", "connect 203.0.113.5:27015", 0},
};

TEST(ScanRules, EachFlagsWhatIsPlantedAndNotTheOrdinaryLineOfItsShape) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.rule) + " in " + std::string(c.file) + ": " +
                     std::string(c.content));
        AliasDefinitions definitions;
        collectAliases(c.aliases, definitions);
        collectAliases(c.content, definitions);
        const auto kind = fileKindOf(c.file);
        const auto findings =
            kind ? findingsIn(c.file, *kind, c.content, resolveAliases(definitions))
                 : std::vector<Finding>{};
        if (c.flaggedLine == 0) {
            EXPECT_TRUE(findings.empty()) << findings.front().rule->id;
            continue;
        }
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0].rule->id, c.rule);
        EXPECT_EQ(findings[0].line, kind == FileKind::Download ? 0 : c.flaggedLine);
        EXPECT_EQ(findings[0].file, c.file);
    }
    // Every rule has a case of each kind.
    std::set<std::pair<std::string_view, bool>> covered;
    for (const Case& c : kCases)
        covered.insert({c.rule, c.flaggedLine > 0});
    for (const Rule& rule : rules()) {
        EXPECT_TRUE(covered.contains({rule.id, true})) << rule.id << " flags nothing";
        EXPECT_TRUE(covered.contains({rule.id, false})) << rule.id << " has no ordinary case";
    }
}

TEST(ScanRules, TheLastSettingOfClFilterstuffcmdCounts) {
    EXPECT_EQ(filterSettingIn("cl_timeout \"60\"\n// cl_filterstuffcmd 1\n"), std::nullopt);
    EXPECT_EQ(filterSettingIn("cl_filterstuffcmd \"1\"\n"), true);
    EXPECT_EQ(filterSettingIn("CL_FILTERSTUFFCMD 1; cl_filterstuffcmd \"0\"\r\n"), false);
    EXPECT_EQ(filterSettingIn("cl_filterstuffcmd 0\ncl_filterstuffcmd \"1.0\""), true);
}

}  // namespace
}  // namespace morvane::scan
