// What the driver's own edits (protect, clean --keep-settings) do to links, files with other hard
// links and read-only files in the game folder, as the built program runs them on demo folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
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

TEST(LinkCases, ALinkOrAHardLinkIsLeftAsItIsAndAReadOnlyFileKeepsItsMode) {
    enum class Put { SymbolicLink, HardLink, ReadOnly, ReadOnlyServersFile };
    struct Case {
        std::vector<std::string> command;  // after the game folder
        std::string file;                  // below the game folder
        Put put;
        int exit;
        std::string says;  // the file's line in the report
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.front() + " " + c.file + " " + std::to_string(int(c.put)));
        const TempTree tree;
        const std::string game = tree.path("game");
        test::makeDemo(game);
        const std::string file = game + "/" + c.file;
        const std::string outside = tree.write("outside.cfg", kOutside);
        const bool readOnly = c.put == Put::ReadOnly || c.put == Put::ReadOnlyServersFile;
        if (!readOnly)
            fs::remove(file);
        if (c.put == Put::SymbolicLink)
            fs::create_symlink(outside, file);
        if (c.put == Put::HardLink)
            fs::create_hard_link(outside, file);
        const std::string before = contentOf(file);
        if (readOnly)
            fs::permissions(file, fs::perms(0444));

        std::vector<std::string> args{c.command.front(), game};
        args.insert(args.end(), c.command.begin() + 1, c.command.end());
        const test::Outcome run = runCli(args, {{"XDG_STATE_HOME", tree.path("state")}});
        EXPECT_EQ(run.exit, c.exit) << run.err;
        EXPECT_EQ(count(run.out, file + c.says + "\n"), 1u) << run.out;
        if (c.put == Put::ReadOnlyServersFile) {
            EXPECT_FALSE(fs::exists(file));
            continue;
        }
        if (c.put == Put::ReadOnly) {
            EXPECT_EQ(test::modeOf(file), 0444u);
            EXPECT_LT(contentOf(file).size(), before.size());
            continue;
        }
        // The player's file is as it was, under both names, and still reached through the link.
        EXPECT_EQ(fs::is_symlink(file), c.put == Put::SymbolicLink);
        EXPECT_EQ(contentOf(outside), kOutside);
        EXPECT_EQ(fs::hard_link_count(outside), c.put == Put::HardLink ? 2u : 1u);
    }
}

}  // namespace
}  // namespace morvane
