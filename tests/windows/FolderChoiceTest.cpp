#include "TempTree.h"
#include "WizardFixture.h"

namespace morvane::ui::test {
namespace {

constexpr const char* kMissing = "Файл 'hl.exe' не найден выберите папку с CS или CSS";

class FolderChoiceTest : public WizardTest {
  protected:
    void SetUp() override { openFolderChoice(); }

    RecordingWindow& form3() { return window("Form3"); }
    std::string gameFolderOfForm4() { return window("Form4").text("Label1"); }
    void pressNext() { form3().press("Image1", "Image2"); }

    morvane::test::TempTree game;  // holds no launcher unless a test puts one there
};

TEST_F(FolderChoiceTest, FolderWithLauncherIsAcceptedOnTheFirstPass) {
    game.write("hl.exe", "");
    browse({game.path(), "never asked"});

    EXPECT_TRUE(toolkit.messages.empty());
    ASSERT_EQ(toolkit.browseCalls.size(), 1u);
    EXPECT_EQ(toolkit.browseCalls[0].owner, "Form3");
    EXPECT_EQ(toolkit.browseCalls[0].startFolder, "c:\\");
    EXPECT_EQ(toolkit.pathsTested.front(), game.path() + "/hl.exe");
    EXPECT_EQ(form3().text("Text1"), game.path());
    EXPECT_EQ(gameFolderOfForm4(), game.path());
    EXPECT_FALSE(window("Form4").shown());
    EXPECT_EQ(program.form3().state().folderValid, 1);
}

TEST_F(FolderChoiceTest, FolderWithoutLauncherWarnsOnceAndAsksAgain) {
    morvane::test::TempTree good;
    good.write("hl.exe", "");
    browse({game.path(), good.path()});

    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text, kMissing);
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(toolkit.browseCalls.size(), 2u);
    EXPECT_EQ(form3().text("Text1"), good.path());
    EXPECT_EQ(gameFolderOfForm4(), good.path());
}

TEST_F(FolderChoiceTest, EveryPassHandsTheFolderToForm4BeforeTestingIt) {
    browse({"/nowhere/a", "/nowhere/b"});

    EXPECT_LT(at("create Form4"), at("text Form4.Label1=/nowhere/a"));
    EXPECT_LT(at("text Form4.Label1=/nowhere/a"), at("exists /nowhere/a/hl.exe"));
    EXPECT_LT(at("exists /nowhere/a/hl.exe"), at("text Form4.Label1=/nowhere/b"));
    EXPECT_LT(at("text Form4.Label1=/nowhere/b"), at("exists /nowhere/b/hl.exe"));
    EXPECT_EQ(gameFolderOfForm4(), "/nowhere/b");
    EXPECT_EQ(toolkit.messages.size(), 2u);
}

// Regression: a cancelled dialog used to count as a folder without hl.exe and reopen at once.
TEST_F(FolderChoiceTest, CancelEndsTheLoopAndKeepsWhatWasThere) {
    browse({});
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(toolkit.browseCalls.size(), 1u);
    EXPECT_EQ(form3().text("Text1"), "");
    EXPECT_EQ(toolkit.find("Form4"), nullptr);

    game.write("hl.exe", "");
    browse({game.path()});
    browse({"", "/never/asked"});
    EXPECT_EQ(toolkit.browseCalls.size(), 3u);
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(form3().text("Text1"), game.path());
    EXPECT_EQ(gameFolderOfForm4(), game.path());
    EXPECT_EQ(program.form3().state().chosenFolder, game.path());
}

TEST_F(FolderChoiceTest, RootFolderIsTestedWithDoubledSeparatorAndHandedOnAsItIs) {
    toolkit.existingPaths.insert("//hl.exe");
    browse({"/"});
    EXPECT_EQ(toolkit.pathsTested, std::vector<std::string>{"//hl.exe"});
    EXPECT_TRUE(toolkit.messages.empty());

    pressNext();
    EXPECT_TRUE(window("Form4").shown());
    EXPECT_EQ(gameFolderOfForm4(), "/");
}

TEST_F(FolderChoiceTest, AFolderNamedHlExeCountsAsTheLauncher) {
    game.makeDir("hl.exe");
    browse({game.path()});
    EXPECT_TRUE(toolkit.messages.empty());
}

#ifdef __linux__
TEST_F(FolderChoiceTest, NativeLinuxLauncherIsAcceptedToo) {
    game.write("hl_linux", "");
    browse({game.path()});
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(program.form3().state().folderValid, 1);
}
#endif

TEST_F(FolderChoiceTest, LoopGivesUpAfterAThousandPassesAndNextThenDoesNothing) {
    toolkit.folderAnswers.assign(1001, game.path());
    form3().click("Command1");
    EXPECT_EQ(toolkit.browseCalls.size(), 1000u);
    EXPECT_EQ(toolkit.messages.size(), 1000u);
    EXPECT_EQ(toolkit.folderAnswers.size(), 1u);

    pressNext();
    EXPECT_EQ(toolkit.messages.size(), 1000u);
    EXPECT_TRUE(form3().shown());
    EXPECT_FALSE(window("Form4").shown());
}

TEST_F(FolderChoiceTest, AcceptanceOutlivesALaterLoopThatRunsOut) {
    morvane::test::TempTree good;
    good.write("hl.exe", "");
    browse({good.path()});
    toolkit.folderAnswers.assign(1000, game.path());
    form3().click("Command1");
    EXPECT_EQ(toolkit.messages.size(), 1000u);

    pressNext();
    EXPECT_TRUE(window("Form4").shown());
    EXPECT_EQ(gameFolderOfForm4(), game.path());
}

TEST_F(FolderChoiceTest, NextBeforeAnyFolderAsksForOne) {
    pressNext();
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text, "Выберите папку c CS или CSS");
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!!!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form3().shown());
}

TEST_F(FolderChoiceTest, NextWithAnAcceptedFolderShowsForm4ThenCloses) {
    game.write("hl.exe", "");
    browse({game.path()});
    pressNext();

    EXPECT_LT(at("show Form4"), at("close Form3"));
    ASSERT_LT(at("close Form3"), toolkit.journal.size());
    toolkit.runPosted();
    EXPECT_EQ(toolkit.find("Form3"), nullptr);
    EXPECT_EQ(window("Form4").text("Label1"), game.path());
}

TEST_F(FolderChoiceTest, ExitAndTitleBarCloseBothEndTheProgram) {
    form3().press("Image3", "Image4");
    EXPECT_EQ(toolkit.quitRequests, 1);
    form3().raise("Form3", Event::Unload);
    EXPECT_EQ(toolkit.quitRequests, 2);
}

}  // namespace
}  // namespace morvane::ui::test
