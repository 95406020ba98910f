// Which replacement files a run needs, and which of them the replacement folder fails to hold.
#include "engine/Replacements.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/host/posix/PosixFileHost.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

using test::Flags;
using test::kAll;
using test::only;
using test::ReplacementFolder;
using ::testing::ElementsAreArray;

std::vector<std::string> strings(const std::vector<std::string_view>& names) {
    return {names.begin(), names.end()};
}

TEST(ReplacementsTest, NeededNamesFollowTheTreatedGroupsAndTheMotdOption) {
    struct Case {
        Flags groups;
        bool blockServerMotd;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {Flags{}, false, {}},
        {only(Group::Config), false, {}},
        {Flags{}, true, {"motd.txt"}},
        {only(Group::Motd), true, {"motd.txt"}},
        {only(Group::Loading),
         false,
         {"LoadingDialog.res", "LoadingDialogNoBanner.res", "LoadingDialogVAC.res"}},
        {kAll,
         true,
         {"GameMenu.res", "LoadingDialog.res", "LoadingDialogNoBanner.res", "LoadingDialogVAC.res",
          "ScoreBoard.res", "motd.txt", "autobuy.txt"}},
    };
    for (const Case& c : cases) {
        EXPECT_THAT(strings(neededReplacements(c.groups, c.blockServerMotd)),
                    ElementsAreArray(c.names));
    }
}

TEST(ReplacementsTest, MissingAreThoseThatAreNotReadableRegularFiles) {
    ReplacementFolder files;
    std::filesystem::remove(files.path("GameMenu.res"));
    std::filesystem::remove(files.path("ScoreBoard.res"));
    files.makeDir("ScoreBoard.res");
    std::filesystem::remove(files.path("motd.txt"));
    ASSERT_EQ(::mkfifo(files.path("motd.txt").c_str(), 0644), 0);  // must not hang the check
    PosixFileHost host;
    const auto needed = neededReplacements(kAll, true);

    EXPECT_THAT(strings(missingReplacements(needed, host, ReplacementSource{files.path()})),
                ElementsAreArray({"GameMenu.res", "ScoreBoard.res", "motd.txt"}));
    test::TempTree empty;
    EXPECT_EQ(missingReplacements(needed, host, ReplacementSource{empty.path()}).size(),
              needed.size());
    EXPECT_EQ(missingReplacements(needed, host, ReplacementSource{empty.path("none")}).size(),
              needed.size());
}

}  // namespace
}  // namespace morvane
