// What the driver's own edits (protect, clean --keep-settings) do to links, files with other hard
// links and read-only files in the game folder, and what undo makes of a link the removal run took
// away, as the built program runs them on demo folders.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/cli/CliRun.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::count;
using test::runCli;
using test::TempTree;

// A player's config held outside the game folder, with one line that scan flags.
const std::string kOutside = "bind \"F1\" \"+jump\"\nbind \"F5\" \"say visit www.example.net\"\n";

// Gives everything below `path` to the ordinary user the driver then runs as.
void giveToNobody(const std::string& path) {
    ::chown(path.c_str(), 65534, 65534);
    for (const auto& entry : fs::recursive_directory_iterator(path))
        ::lchown(entry.path().c_str(), 65534, 65534);
}

TEST(LinkCases, ALinkOrAHardLinkIsLeftAsItIsAndAReadOnlyFileKeepsItsMode) {
    enum class Put {
        SymbolicLink,
        HardLink,
        ReadOnly,
        ReadOnlyServersFile,
        ReadOnlyUntouched,  // read-only, holding nothing planted
        AsMade,
        OtherGroup,     // read-only, of a group the player (nobody) is not in; run as the player
        Missing,        // its folder a player's (run as root)
        LinkInTheGame,  // a link to the other edition's file
    };
    struct Case {
        std::vector<std::string> command;  // after the game folder
        std::string file;                  // below the game folder
        Put put;
        int exit;
        std::string says = {};  // the file's line in the report; none when empty
        unsigned mode = 0444;   // the file's mode after, where it is not a link
        bool undone = false;    // then undo, which must give the link back as it was
    };
    const Case cases[] = {
        {{"protect"},
         "cstrike/userconfig.cfg",
         Put::SymbolicLink,
         1,
         ": failed (a link: left as it is)"},
        {{"protect"},
         "cstrike/userconfig.cfg",
         Put::HardLink,
         1,
         ": failed (has other hard links: left as it is)"},
        {{"clean", "config", "--keep-settings"},
         "cstrike/userconfig.cfg",
         Put::SymbolicLink,
         1,
         ": failed (a link: left as it is)"},
        {{"clean", "config", "--keep-settings"},
         "cstrike/config.cfg",
         Put::HardLink,
         1,
         ": failed (has other hard links: left as it is)"},
        {{"clean", "config", "--keep-settings"},
         "cstrike/config.cfg",
         Put::ReadOnly,
         0,
         ": rewritten (it was read-only: it still is)"},
        // Outside what the removal run makes writable itself.
        {{"clean", "config", "--keep-settings"},
         "valve/valve.rc",
         Put::ReadOnly,
         0,
         ": rewritten (it was read-only: it still is)"},
        {{"clean", "config", "--keep-settings"},
         "cstrike_downloads/config.cfg",
         Put::ReadOnlyServersFile,
         0,
         ": deleted"},
        // The removal run deletes or replaces a link at a target, as the windows do; the backup
        // keeps it as a link, and undo makes it again.
        {{"clean", "menu", "config"},
         "cstrike_russian/config.cfg",
         Put::LinkInTheGame,
         0,
         ": deleted",
         0,  // a link has no mode of its own to keep
         true},
        {{"clean", "menu"},
         "cstrike/resource/GameMenu.res",
         Put::SymbolicLink,
         0,
         ": replaced",
         0,
         true},
        // A file the run does not change keeps its mode: the player's guard against servers.
        {{"clean", "config", "--keep-settings"}, "cstrike/config.cfg", Put::ReadOnlyUntouched, 0},
        {{"clean", "menu"}, "cstrike/motd_temp.html", Put::ReadOnlyUntouched, 0},
        // What --read-only marks: every file the run wrote, its rewrites outside the attribute set
        // too.
        {{"clean", "config", "--keep-settings", "--read-only"},
         "valve/valve.rc",
         Put::AsMade,
         0,
         ": rewritten"},
        // The mode is given back though the group cannot be, and the report says which.
        {{"clean", "config", "--keep-settings"},
         "cstrike/config.cfg",
         Put::OtherGroup,
         1,
         ": failed (attributes: cannot give it its group back: Operation not permitted; its mode "
         "is given back)"},
        // A file the driver makes is the owner's of the folder it is made in, as one it replaces
        // stays its owner's.
        {{"protect"},
         "cstrike/userconfig.cfg",
         Put::Missing,
         0,
         ": cl_filterstuffcmd \"1\" added",
         0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.front() + " " + c.file + " " + std::to_string(int(c.put)));
        const bool asRoot = c.put == Put::OtherGroup || c.put == Put::Missing;
        if (asRoot && ::geteuid() != 0) {
            std::cerr << "skipped: only root can give files away\n";
            continue;
        }
        const TempTree tree;
        const std::string game = tree.path("game");
        test::makeDemo(game);
        const std::string file = game + "/" + c.file;
        const std::string outside = tree.write("outside.cfg", kOutside);
        const bool symbolic = c.put == Put::SymbolicLink || c.put == Put::LinkInTheGame;
        const bool link = symbolic || c.put == Put::HardLink;
        if (link || c.put == Put::Missing)
            fs::remove(file);
        if (c.put == Put::SymbolicLink)
            fs::create_symlink(outside, file);
        if (c.put == Put::LinkInTheGame)
            fs::create_symlink("../cstrike/config.cfg", file);
        const fs::path linkText = symbolic ? fs::read_symlink(file) : fs::path();
        if (c.put == Put::HardLink)
            fs::create_hard_link(outside, file);
        if (c.put == Put::ReadOnlyUntouched)
            tree.write("game/" + c.file, "bind \"F1\" \"+jump\"\n");
        if (c.put == Put::Missing)
            ::chown(fs::path(file).parent_path().c_str(), 4321, 4321);
        if (c.put == Put::OtherGroup) {
            tree.makeDir("state");
            giveToNobody(game);
            giveToNobody(tree.path("state"));
            ::chown(file.c_str(), 65534, 0);
        }
        const std::string before = contentOf(file);
        if (!link && c.put != Put::AsMade && c.put != Put::Missing)
            fs::permissions(file, fs::perms(0444));

        std::vector<std::string> args{c.command.front(), game};
        args.insert(args.end(), c.command.begin() + 1, c.command.end());
        const test::Outcome run =
            runCli(args, {{"XDG_STATE_HOME", tree.path("state")}}, {"", c.put == Put::OtherGroup});
        EXPECT_EQ(run.exit, c.exit) << run.err;
        EXPECT_EQ(count(run.out, file + (c.says.empty() ? ":" : c.says + "\n")),
                  c.says.empty() ? 0u : 1u)
            << run.out;
        if (c.undone) {
            const test::Outcome undo =
                runCli({"undo", game}, {{"XDG_STATE_HOME", tree.path("state")}});
            EXPECT_EQ(undo.exit, 0) << undo.err;
            EXPECT_EQ(count(undo.out, file + ": put back\n"), 1u) << undo.out;
        }
        if (c.put == Put::ReadOnlyServersFile) {
            EXPECT_FALSE(fs::exists(file));
            continue;
        }
        if (!link) {
            EXPECT_EQ(test::modeOf(file), c.mode);
            struct stat st {};
            ::lstat(file.c_str(), &st);
            if (c.put == Put::ReadOnlyUntouched)
                EXPECT_EQ(contentOf(file), before);
            else if (c.put == Put::Missing)
                EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(4321u, 4321u));
            else
                EXPECT_LT(contentOf(file).size(), before.size());
            continue;
        }
        // The player's file is as it was, under both names, and still reached through the link.
        EXPECT_EQ(fs::is_symlink(file), symbolic);
        std::error_code gone;
        EXPECT_EQ(symbolic ? fs::read_symlink(file, gone) : fs::path(), linkText);
        EXPECT_EQ(contentOf(outside), kOutside);
        EXPECT_EQ(fs::hard_link_count(outside), c.put == Put::HardLink ? 2u : 1u);
    }
}

}  // namespace
}  // namespace morvane
