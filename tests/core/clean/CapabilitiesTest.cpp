// clean, protect and undo called as functions on seams of the test's own (a home folder of its
// own, the system's host and reader), as the driver's handlers call them, with no program run.
#include <gtest/gtest.h>

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
    EXPECT_EQ(clean::run(homeless, request).stop, clean::Stop::NoBackupsFolder);
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
    EXPECT_EQ(guarded.files[0].what, protect::EditionFile::What::Added);

    EXPECT_FALSE(guarded.backupId.empty());

    // protect wrote the userconfig.cfg files that the clean had deleted: changed since the clean.
    const undo::Result refused = undo::run(own, {game.path(), cleaned.backupId, false});
    EXPECT_EQ(refused.stop, undo::Stop::ChangedSince);
    EXPECT_EQ(refused.changed.size(), 2u);
    const undo::Result unguarded = undo::run(own, {game.path(), std::nullopt, false});
    EXPECT_EQ(unguarded.stop, undo::Stop::None) << "the latest backup is protect's";
    const undo::Result undone = undo::run(own, {game.path(), cleaned.backupId, false});
    EXPECT_EQ(undone.stop, undo::Stop::None);
    EXPECT_FALSE(undone.anyFailed());
    EXPECT_EQ(game.snapshot(), before);
    const undo::Listing listed = undo::list(own, game.path());
    ASSERT_EQ(listed.backups.size(), 4u) << "clean, protect, and each undo";
    EXPECT_EQ(listed.backups.back().id, cleaned.backupId);
}

}  // namespace
}  // namespace morvane
