// What the driver's reports and exit statuses say when not everything could be done, or when what
// it reports was chosen by a server, as the built program runs on demo folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/cli/CliRun.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::count;
using test::TempTree;

struct Scene {
    TempTree tree;
    std::string game = tree.path("game");
    std::string home = tree.path("home");
};

struct Case {
    const char* what;
    std::function<void(const Scene&)> setUp;  // after the demo is laid out
    std::vector<std::string> args;            // "GAME" stands for the game folder
    int exit;
    std::vector<std::string> says;       // each somewhere in what it prints, "GAME" replaced
    std::vector<std::string> neverSays;  // nowhere in what it prints
    std::vector<std::vector<std::string>> before = {};  // commands run first, each ending 0
    std::vector<std::string> unwritable = {};           // folders below GAME, for the command
    test::Start start = {};
    bool ads = true;  // the demo with adverts, else a clean one
};

std::string withGame(std::string text, const std::string& game) {
    for (auto at = text.find("GAME"); at != std::string::npos; at = text.find("GAME", at))
        text.replace(at, 4, game);
    return text;
}

// A planted line that moves the cursor up and erases the line, and a file name that forges one.
void plantControls(const Scene& s) {
    std::ofstream(s.game + "/cstrike/userconfig.cfg", std::ios::app)
        << "connect 192.0.2.7:27015 \x1b[1A\x1b[2K\n";
    s.tree.write("game/cstrike_downloads/evil\nforged.cfg", "");
}

void skipsARelativeLibrary(const Scene& s) {
    s.tree.write("home/.local/share/Steam/steamapps/libraryfolders.vdf",
                 "\"LibraryFolders\" { \"1\" \".\" }");
    s.tree.write("cwd/steamapps/common/Half-Life/hl_linux", "launcher");
}

void foundInTheHome(const Scene& s) {
    s.tree.makeDir("home/.local/share/Steam/steamapps/common");
    fs::create_directory_symlink(s.game, s.home + "/.local/share/Steam/steamapps/common/Half-Life");
}

void noLauncher(const Scene& s) {
    fs::remove(s.game + "/hl.exe");
    fs::remove(s.game + "/hl_linux");
}

const auto nothing = [](const Scene&) {};

// A file past what the scan reads, that takes no room on disk.
void tooLarge(const std::string& path) {
    std::ofstream{path, std::ios::trunc};
    fs::resize_file(path, 20u << 20);
}

void configTooLarge(const Scene& s) {
    tooLarge(s.game + "/cstrike/config.cfg");
}

// The game found in the home, its backup impossible: where backups go is a file.
void foundWithoutBackups(const Scene& s) {
    foundInTheHome(s);
    s.tree.write("state/morvane", "");
}

TEST(ReportHonesty, FailuresAreNeverReportedAsSuccessNorServersTextAsTheDriversOwn) {
    const std::string notSearched = "loading: not searched\nscoreboard: not searched\n";
    const Case cases[] = {
        {"a folder the scan cannot list is unread",
         [](const Scene& s) { fs::permissions(s.game + "/cstrike", fs::perms::none); },
         {"scan", "GAME", "--json"},
         2,
         {R"("unread":[{"file":"cstrike","reason":"the folder cannot be read"}])"},
         {},
         {},
         {},
         {"", true},
         false},
        {"control characters a server chose are shown escaped",
         plantControls,
         {"scan", "GAME"},
         1,
         {"    connect 192.0.2.7:27015 \\x1b[1A\\x1b[2K\n",
          "\ncstrike_downloads/evil\\nforged.cfg: planted: downloaded-cfg: "},
         {"\x1b", "evil\nforged"}},
        {"and JSON stays as it is",
         plantControls,
         {"scan", "GAME", "--json"},
         1,
         {R"("text":"connect 192.0.2.7:27015 \u001b[1A\u001b[2K")",
          R"("file":"cstrike_downloads/evil\u000aforged.cfg")"},
         {"\x1b"}},
        {"the verdict weighs the lines --keep-settings took out",
         nothing,
         {"clean", "GAME", "config", "--keep-settings"},
         0,
         {"Advertising possibly removed\n"},
         {}},
        // The clean menu already there is replaced all the same, its edition's twin being found,
        // and only marked read-only.
        {"a file that only needed its mode back is put back",
         [](const Scene& s) {
             fs::copy_file(fs::path(MORVANE_CLI).parent_path() / "files" / "GameMenu.res",
                           s.game + "/cstrike/resource/GameMenu.res",
                           fs::copy_options::overwrite_existing);
         },
         {"undo", "GAME"},
         0,
         {"GAME/cstrike/resource/GameMenu.res: put back\n"},
         {"failed"},
         {{"clean", "GAME", "menu", "--read-only"}},
         {"cstrike/resource"}},
        {"search without a group searches every group",
         nothing,
         {"search", "GAME"},
         0,
         {"menu: found\nloading: found\nscoreboard: found\nconfig: found\nmotd: found\n"
          "autobuy: found\n"},
         {}},
        {"clean without a group is bad input",
         nothing,
         {"clean", "GAME"},
         2,
         {"morvane-cli: name the kinds to clean, or all\n"},
         {"Advertising"}},
        {"and so it is with only --read-only, which then marks nothing",
         nothing,
         {"clean", "GAME", "--read-only", "--keep-settings"},
         2,
         {"morvane-cli: name the kinds to clean, or all\n"},
         {"Advertising"}},
        {"but --block-server-motd alone overwrites the welcome pages, as the options window does",
         nothing,
         {"clean", "GAME", "--block-server-motd"},
         0,
         {"menu: not searched\n", "GAME/cstrike/motd_temp.html: replaced\n",
          "GAME/cstrike_russian/motd_temp.html: replaced\n", "Advertising possibly removed\n"},
         {"failed", ": found"}},
        {"groups not asked for are not searched",
         nothing,
         {"clean", "GAME", "menu"},
         0,
         {"menu: found\n" + notSearched},
         {"loading: not found"}},
        {"and are null in JSON",
         nothing,
         {"search", "GAME", "menu", "--json"},
         0,
         {R"({"status":{"menu":true,"loading":null,"scoreboard":null,)"},
         {}},
        {"protect says the system's reason when it cannot write",
         nothing,
         {"protect", "GAME"},
         1,
         {"could not write GAME/cstrike/userconfig.cfg: cannot create a temporary file: "},
         {"a config file run after userconfig.cfg sets it"},
         {},
         {"cstrike", "cstrike_russian"}},
        {"protect looks for the launcher as clean does",
         noLauncher,
         {"protect", "GAME"},
         2,
         {"holds no hl.exe or hl_linux"},
         {"added"}},
        {"unless forced",
         noLauncher,
         {"protect", "GAME", "--force"},
         0,
         {"GAME/cstrike/userconfig.cfg: cl_filterstuffcmd \"1\" added\n"},
         {}},
        {"find skips a library named by a relative path, and names it",
         skipsARelativeLibrary,
         {"find"},
         1,
         {"skipped the library named in ", "libraryfolders.vdf: . (not an absolute path)"},
         {"Half-Life"},
         {},
         {},
         {"cwd"}},
        {"clean --all-found names each game folder at the head of its block",
         foundInTheHome,
         {"clean", "--all-found", "menu"},
         0,
         {"game: GAME\nmenu: found\n"},
         {}},
        {"and so does scan --all-found",
         foundInTheHome,
         {"scan", "--all-found"},
         1,
         {"game: GAME\ncstrike/config.cfg:"},
         {}},
        {"and clean's JSON object names it",
         foundInTheHome,
         {"clean", "--all-found", "menu", "--json"},
         0,
         {R"({"game":"GAME","status":{"menu":true,)"},
         {}},
        {"and a game folder whose clean stopped has its object too, with the stop",
         foundWithoutBackups,
         {"clean", "--all-found", "menu", "--json"},
         1,
         {R"({"game":"GAME","stop":"backup not made","reason":")"},
         {"verdict"}},
        {"a config file too large to read is in the report, failed",
         configTooLarge,
         {"clean", "GAME", "config", "--keep-settings", "--no-backup", "--json"},
         1,
         {R"({"path":"GAME/cstrike/config.cfg","action":"failed","reason":"not read (larger )"
          R"(than 16777216 bytes), so not treated"})"},
         {}},
        {"in text too",
         configTooLarge,
         {"clean", "GAME", "config", "--keep-settings", "--no-backup"},
         1,
         {"GAME/cstrike/config.cfg: failed (not read (larger than 16777216 bytes), so not "
          "treated)\n"},
         {}},
        {"but not when its group was not chosen, nor a file the run replaced all the same",
         [](const Scene& s) {
             configTooLarge(s);
             tooLarge(s.game + "/cstrike/resource/GameMenu.res");
         },
         {"clean", "GAME", "menu", "--keep-settings", "--no-backup"},
         0,
         {"GAME/cstrike/resource/GameMenu.res: replaced\n"},
         {"not read", "config.cfg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Scene s;
        test::makeDemo(s.game, c.ads ? "" : "--no-ads");
        c.setUp(s);
        const std::map<std::string, std::string> env{{"HOME", s.home},
                                                     {"XDG_STATE_HOME", s.tree.path("state")}};
        for (const auto& command : c.before) {
            std::vector<std::string> args;
            for (const std::string& arg : command)
                args.push_back(withGame(arg, s.game));
            ASSERT_EQ(test::runCli(args, env).exit, 0);
        }
        std::vector<std::unique_ptr<test::Unwritable>> locks;
        for (const std::string& folder : c.unwritable) {
            locks.push_back(std::make_unique<test::Unwritable>(s.game + "/" + folder));
        }
        if (std::any_of(locks.begin(), locks.end(),
                        [](const auto& lock) { return !lock->held(); })) {
            std::cerr << "skipped: no folder can be made unwritable here\n";
            continue;
        }
        std::vector<std::string> args;
        for (const std::string& arg : c.args)
            args.push_back(withGame(arg, s.game));
        test::Start start = c.start;
        start.folder = start.folder.empty() ? "" : s.tree.path(start.folder);
        const test::Outcome run = test::runCli(args, env, start);
        const std::string said = run.out + run.err;
        EXPECT_EQ(run.exit, c.exit) << said;
        for (const std::string& part : c.says)
            EXPECT_EQ(count(said, withGame(part, s.game)), 1u) << part << "\nin:\n" << said;
        for (const std::string& part : c.neverSays)
            EXPECT_EQ(count(said, part), 0u) << part << "\nin:\n" << said;
    }
}

}  // namespace
}  // namespace morvane
