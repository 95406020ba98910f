// find and scan as the built program runs them: on fake home folders with each Steam layout, and
// on demo game folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/CliRun.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::count;
using test::makeDemo;
using test::Outcome;
using test::runCli;
using test::TempTree;

// A Half-Life folder with the Linux launcher and the cstrike edition at `library`.
std::string putGame(const TempTree& home, const std::string& library,
                    const std::string& steamapps = "steamapps") {
    const std::string game = library + "/" + steamapps + "/common/Half-Life";
    home.write(game + "/hl_linux", "launcher");
    home.makeDir(game + "/cstrike");
    return fs::canonical(home.path(game)).string();
}

TEST(FindCli, ListsTheGameInEachSteamLayout) {
    const std::vector<std::string> roots{
        ".local/share/Steam",
        ".steam/steam",
        ".steam/root",
        ".steam/debian-installation",
        ".var/app/com.valvesoftware.Steam/.local/share/Steam",
        "snap/steam/common/.local/share/Steam",
    };
    for (const std::string& root : roots) {
        const TempTree home;
        const std::string game =
            putGame(home, root, root == ".steam/root" ? "SteamApps" : "steamapps");
        const Outcome found = runCli({"find", "--json"}, {{"HOME", home.path()}});
        EXPECT_EQ(found.exit, 0) << root << found.err;
        EXPECT_EQ(found.out, "{\"installations\":[{\"path\":\"" + game +
                                 "\",\"launchers\":[\"hl_linux\"],\"editions\":[\"cstrike\"]}],"
                                 "\"problems\":[],\"skipped\":[]}\n")
            << root;
    }
    // Further libraries named by the library list, in either of its forms.
    for (const char* form : {"\"LibraryFolders\" { \"1\" \"%s\" }",
                             "\"libraryfolders\" { \"0\" { \"path\" \"%s\" \"apps\" { } } }"}) {
        const TempTree home;
        const std::string game = putGame(home, "games/SteamLibrary");
        std::string list = form;
        list.replace(list.find("%s"), 2, home.path("games/SteamLibrary"));
        home.write(".local/share/Steam/SteamApps/libraryfolders.vdf", list);
        const Outcome found = runCli({"find"}, {{"HOME", home.path()}});
        EXPECT_EQ(found.exit, 0) << form << found.err;
        EXPECT_EQ(found.out, game + "\n    launchers: hl_linux\n    editions: cstrike\n") << form;
    }
    const TempTree empty;
    EXPECT_EQ(runCli({"find"}, {{"HOME", empty.path()}}).exit, 1);
}

TEST(FindCli, CountsLinkedRootsOnceAndReportsABrokenLibraryList) {
    const TempTree home;
    const std::string game = putGame(home, ".local/share/Steam");
    home.makeDir(".steam");
    fs::create_directory_symlink("../.local/share/Steam", home.path(".steam/steam"));
    fs::create_directory_symlink("../.local/share/Steam", home.path(".steam/root"));
    home.write(".local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\"\n{\n\"0\"\n");
    const Outcome found = runCli({"find", "--json"}, {{"HOME", home.path()}});
    EXPECT_EQ(found.exit, 2);
    EXPECT_EQ(count(found.out, "\"path\":\"" + game + "\""), 1u) << found.out;
    EXPECT_EQ(count(found.err, "libraryfolders.vdf: line 4: the key \"0\" has no value"), 1u)
        << found.err;
}

TEST(ScanCli, FindsEveryPlantedKindOnTheDemoAndNothingOnACleanOne) {
    const TempTree tree;
    makeDemo(tree.path("ads"));
    makeDemo(tree.path("clean"), "--no-ads");
    const Outcome planted = runCli({"scan", tree.path("ads"), "--json"});
    EXPECT_EQ(planted.exit, 1) << planted.err;
    // Both editions carry the same config, renderer config and layout adverts; autoexec.cfg,
    // joystick.cfg and valve.rc are planted once, the downloads folder holds a config, a menu and
    // a welcome page; motd_temp.html is the welcome page again. The build's two master lists name
    // three masters each, three favourites are the distributor's, and the emulator's settings name
    // its master, a site for a name and a server. config.cfg's exec of joystick.cfg and the
    // player's own favourite-server alias in userconfig.cfg, which no key runs, are only suspect.
    const std::map<std::string, std::pair<std::string, std::size_t>> expected{
        {"config-wait", {"planted", 2}},         {"config-connect", {"planted", 0}},
        {"config-alias", {"planted", 2}},        {"config-file-write", {"planted", 2}},
        {"bind-connect", {"planted", 6}},        {"bind-say", {"planted", 11}},
        {"bind-address", {"planted", 0}},        {"own-connect", {"planted", 5}},
        {"say-address", {"planted", 2}},         {"echo-address", {"planted", 2}},
        {"menu-connect", {"planted", 9}},        {"layout-address", {"planted", 31}},
        {"welcome-address", {"planted", 30}},    {"downloaded-cfg", {"planted", 1}},
        {"master-address", {"planted", 6}},      {"favourite-added", {"planted", 3}},
        {"rev-master", {"planted", 1}},          {"rev-name-site", {"planted", 1}},
        {"rev-server-address", {"planted", 1}},  {"config-exec", {"suspect", 2}},
        {"own-unreached-alias", {"suspect", 2}},
    };
    std::size_t total = 0;
    for (const auto& [rule, found] : expected) {
        const auto& [level, n] = found;
        EXPECT_EQ(count(planted.out, "\"rule\":\"" + rule + "\",\"level\":\"" + level + "\""), n)
            << rule;
        total += n;
    }
    EXPECT_EQ(count(planted.out, "\"rule\":"), total);
    EXPECT_NE(planted.out.find("\"protection\":{\"cstrike\":\"off\",\"cstrike_russian\":\"off\"}"),
              std::string::npos);

    const Outcome text = runCli({"scan", tree.path("ads")});
    EXPECT_NE(
        text.out.find("cstrike/config.cfg:50: planted: bind-say: a key bound to say a server "
                      "or web address\n    bind \"x\" \"say_team Join us: 203.0.113.5:27015\"\n"),
        std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\n115 planted things and 4 suspect ones found in " + tree.path("ads")),
              std::string::npos)
        << text.out;

    const Outcome clean = runCli({"scan", tree.path("clean")});
    EXPECT_EQ(clean.exit, 0) << clean.err;
    EXPECT_EQ(clean.out,
              "cl_filterstuffcmd: cstrike missing, cstrike_russian missing\n"
              "nothing planted found in " +
                  tree.path("clean") + "\n");
}

TEST(ScanCli, ScansAllFoundAndSaysWhatItCouldNotRead) {
    const TempTree home;
    makeDemo(home.path(".local/share/Steam/steamapps/common/Half-Life"));
    const std::string game =
        fs::canonical(home.path(".local/share/Steam/steamapps/common/Half-Life"));
    const Outcome all = runCli({"scan", "--all-found", "--json"}, {{"HOME", home.path()}});
    EXPECT_EQ(all.exit, 1) << all.err;
    EXPECT_EQ(all.out.rfind("{\"game\":\"" + game + "\",\"findings\":[{", 0), 0u) << all.out;

    // The downloads are read as deep as they go.
    std::string deep = "cstrike_downloads";
    for (int depth = 0; depth < 40; ++depth)
        deep += "/d";
    fs::create_directories(game + "/" + deep);
    std::ofstream(game + "/" + deep + "/x.cfg") << "connect 192.0.2.44:27015\n";
    EXPECT_EQ(count(runCli({"scan", game}).out, deep + "/x.cfg: planted: downloaded-cfg:"), 1u);

    // A FIFO where a config file belongs is not waited on; the scan cannot vouch for it.
    fs::remove(game + "/cstrike/userconfig.cfg");
    ASSERT_EQ(::mkfifo((game + "/cstrike/userconfig.cfg").c_str(), 0600), 0);
    const Outcome unread = runCli({"scan", game});
    EXPECT_EQ(unread.exit, 2);
    EXPECT_NE(unread.err.find("cstrike/userconfig.cfg: not read: not a regular file"),
              std::string::npos)
        << unread.err;

    const TempTree nothing;
    EXPECT_EQ(runCli({"scan", "--all-found"}, {{"HOME", nothing.path()}}).exit, 2);
    EXPECT_EQ(runCli({"scan", nothing.path()}).exit, 2);
}

}  // namespace
}  // namespace morvane
