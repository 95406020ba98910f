// clean, protect and undo called as functions on seams of the test's own (a home folder of its
// own, the system's host and reader), as the driver's handlers call them, with no program run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/clean/Clean.h"
#include "core/protect/Protect.h"
#include "core/undo/Undo.h"
#include "platform/host/SystemHost.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

using test::GameFolder;
using test::ReplacementFolder;

class Capabilities : public ::testing::Test {
  protected:
    Seams seams(std::optional<std::string> backups) {
        return {*host, *reader, *store, UserPlaces{{}, std::move(backups)}};
    }

    GameFolder game;
    ReplacementFolder files;
    test::TempTree home;
    std::unique_ptr<FileHost> host = makeFileHost();
    std::unique_ptr<TreeReader> reader = makeTreeReader();
    std::unique_ptr<StateStore> store = makeStateStore();
};

TEST_F(Capabilities, CleanProtectAndUndoRunOnTheSeamsTheyAreGiven) {
    game.putAllAds();
    const auto before = game.snapshot();
    clean::Request request;
    request.game = game.path();
    request.groups = test::kAll;
    request.filesFolder = files.path();
    request.now = 1714557600;  // 2024-05-01T10:00:00Z

    Seams homeless = seams(std::nullopt);
    EXPECT_EQ(clean::run(homeless, request).stop, Stop::NoBackupsFolder);
    EXPECT_EQ(game.snapshot(), before) << "nothing changed without a place for the backup";

    Seams own = seams(home.path("backups"));
    const clean::Result cleaned = clean::run(own, request);
    EXPECT_TRUE(cleaned.done());
    EXPECT_EQ(cleaned.backupId, "20240501T100000Z");
    EXPECT_EQ(cleaned.verdict, Verdict::PossiblyRemoved);
    EXPECT_EQ(game.read(Slot::gameMenuPath), files.content("GameMenu.res"));
    EXPECT_TRUE(cleaned.found[static_cast<std::size_t>(Group::Menu)]);

    const protect::Result guarded = protect::run(own, {game.path(), false, request.now + 60});
    ASSERT_EQ(guarded.files.size(), 2u);
    EXPECT_EQ(guarded.files[0].done, Done::Rewritten);

    EXPECT_FALSE(guarded.backupId.empty());

    // protect wrote the userconfig.cfg files that the clean had deleted: changed since the clean.
    const undo::Result refused = undo::run(own, {game.path(), cleaned.backupId, false});
    EXPECT_EQ(refused.stop, Stop::ChangedSince);
    EXPECT_EQ(refused.changed.size(), 2u);
    const undo::Result unguarded = undo::run(own, {game.path(), std::nullopt, false});
    EXPECT_EQ(unguarded.stop, Stop::None) << "the latest backup is protect's";
    const undo::Result undone = undo::run(own, {game.path(), cleaned.backupId, false});
    EXPECT_EQ(undone.stop, Stop::None);
    EXPECT_FALSE(undone.anyFailed());
    EXPECT_EQ(game.snapshot(), before);
    const undo::Listing listed = undo::list(own, game.path());
    ASSERT_EQ(listed.backups.size(), 4u) << "clean, protect, and each undo";
    EXPECT_EQ(listed.backups.back().id, cleaned.backupId);
}

// A build's settings, guarded read-only as boosters leave what they plant: the clean gets past the
// mark, takes out the planted things alone, gives the mark back and says so; undo puts back every
// byte. (The hidden and system attributes of Windows: undo/WindowsAttributesTest.cpp.)
TEST_F(Capabilities, KeepSettingsGetsPastReadOnlySettingsOfABuildAndUndoPutsThemBack) {
    const std::pair<std::string, std::string> planted[] = {
        {"config/rev_MasterServers.vdf",
         "\"MasterServers\"\r\n{\r\n\t\"hl1\"\r\n\t{\r\n\t\t\"0\" { \"addr\" \"203.0.113.9:27010\" "
         "}\r\n\t}\r\n}\r\n"},
        {"platform/config/ServerBrowser.vdf",
         "\"Filters\" { \"favorites\" { \"0\" { \"name\" \"Favorite server 1\" \"address\" "
         "\"203.0.113.20:27015\" \"lastplayed\" \"999\" } } }"},
        {"rev.ini", "[steamclient]\rMasterServer=203.0.113.9:27010\rLogging=False\r"},
        {"cstrike_russian/hw/opengl.cfg",
         "gl_dither \"1\"\necho \"Settings by www.example.net\"\n"},
    };
    const std::string cleaned[] = {
        "\"MasterServers\"\r\n{\r\n\t\"hl1\"\r\n\t{\r\n\t\t\"0\" { \"addr\" "
        "\"hl1master.steampowered.com:27010\" }\r\n\t}\r\n}\r\n",
        "\"Filters\" { \"favorites\" { } }",
        "[steamclient]\rMasterServer=213.239.209.221\rLogging=False\r",
        "gl_dither \"1\"\n",
    };
    for (const auto& [file, content] : planted) {
        game.write(file, content);
        std::filesystem::permissions(game.path(file), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
    }
    const auto before = game.snapshot();
    clean::Request request;
    request.game = game.path();
    request.groups = test::only(Group::Config);
    request.keepSettings = true;
    Seams own = seams(home.path("backups"));
    const clean::Result result = clean::run(own, request);
    EXPECT_TRUE(result.done());
    for (std::size_t i = 0; i < std::size(planted); ++i) {
        const std::string& file = planted[i].first;
        EXPECT_EQ(game.read(file), cleaned[i]) << file;
        EXPECT_EQ(test::modeOf(game.path(file)) & 0222, 0u) << file;
        const auto outcome =
            std::find_if(result.files.begin(), result.files.end(),
                         [&](const Outcome& f) { return f.path == game.path(file); });
        ASSERT_NE(outcome, result.files.end()) << file;
        EXPECT_EQ(outcome->done, Done::Rewritten) << file;
        EXPECT_TRUE(outcome->guards.readOnly) << file;
    }
    const undo::Result undone = undo::run(own, {game.path(), std::nullopt, false});
    EXPECT_EQ(undone.stop, Stop::None) << undone.stop.detail.english();
    EXPECT_EQ(game.snapshot(), before);
}

}  // namespace
}  // namespace morvane
