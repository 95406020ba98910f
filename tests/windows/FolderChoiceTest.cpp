#include <filesystem>
#include <map>
#include <vector>

#include "tests/support/TempTree.h"
#include "tests/windows/WizardFixture.h"
#include "windows/Module1.h"

namespace morvane::ui::test {
namespace {

const std::string kTitle = "Выберите директорию с Counter Strike";

class FolderChoiceTest : public WizardTest {
  protected:
    void SetUp() override { openFolderChoice(); }

    RecordingWindow& form3() { return window("Form3"); }
    std::string gameFolderOfForm4() { return window("Form4").text("Label1"); }
    void pressNext() { form3().press("Image1", "Image2"); }
    std::string withLauncher(const morvane::test::TempTree& folder, const std::string& name) {
        folder.write(name, "");
        return folder.path();
    }

    morvane::test::TempTree game;  // holds no launcher unless a test puts one there
};

TEST_F(FolderChoiceTest, AFolderWithTheLauncherIsAcceptedAtOnceAndNextMovesOn) {
    browse({withLauncher(game, "hl.exe"), "never asked"});

    EXPECT_TRUE(toolkit.messages.empty());
    ASSERT_EQ(toolkit.browseCalls.size(), 1u);
    EXPECT_EQ(toolkit.browseCalls[0].owner, "Form3");
    EXPECT_EQ(toolkit.browseCalls[0].title, kTitle);
    EXPECT_EQ(toolkit.browseCalls[0].startFolder, "c:\\");
    EXPECT_EQ(form3().text("Text1"), game.path());
    EXPECT_EQ(gameFolderOfForm4(), game.path());
    EXPECT_FALSE(window("Form4").shown());

    pressNext();
    EXPECT_LT(at("show Form4"), at("close Form3"));
    ASSERT_LT(at("close Form3"), toolkit.journal.size());
    toolkit.runPosted();
    EXPECT_EQ(toolkit.find("Form3"), nullptr);
    EXPECT_EQ(gameFolderOfForm4(), game.path());
}

TEST_F(FolderChoiceTest, EveryPassHandsTheFolderOnBeforeTestingItAndWarnsWithoutALauncher) {
    morvane::test::TempTree good;
    browse({"/nowhere/a", withLauncher(good, "hl.exe")});

    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text, "Файл 'hl.exe' не найден выберите папку с CS или CSS");
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_LT(at("create Form4"), at("text Form4.Label1=/nowhere/a"));
    EXPECT_LT(at("text Form4.Label1=/nowhere/a"), at("kind /nowhere/a/hl.exe"));
    EXPECT_LT(at("kind /nowhere/a/hl.exe"), at("message " + toolkit.messages[0].text));
    EXPECT_LT(at("message " + toolkit.messages[0].text), at("text Form4.Label1=" + good.path()));
    EXPECT_EQ(toolkit.browseCalls.size(), 2u);
    EXPECT_EQ(form3().text("Text1"), good.path());
}

// The window holds a folder to be the game's as the driver does: a launcher is a file, its name in
// any letter case. Regression: a folder named hl.exe passed, and HL.EXE did not.
TEST_F(FolderChoiceTest, TheLauncherIsAFileOfEitherNameInAnyCaseAndARootGetsASecondSeparator) {
    const struct {
        const char* name;
        bool isFolder;
        bool accepted;
    } cases[] = {
        {"hl.exe", false, true}, {"HL.EXE", false, true},   {"hl_linux", false, true},
        {"hl.exe", true, false}, {"Hl_Linux", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.isFolder ? " as a folder" : " as a file"));
        morvane::test::TempTree folder;
        if (c.isFolder)
            folder.makeDir(c.name);
        else
            folder.write(c.name, "");
        const std::size_t warnings = toolkit.messages.size();
        browse({folder.path()});
        EXPECT_EQ(toolkit.messages.size(), warnings + (c.accepted ? 0 : 1));
        EXPECT_EQ(form3().text("Text1") == folder.path(), c.accepted) << "kept after the cancel";
    }

    browse({"/"});
    EXPECT_LT(at("kind //hl.exe"), toolkit.journal.size());
}

// Regression: a cancelled dialog used to count as a folder without hl.exe and reopen at once.
TEST_F(FolderChoiceTest, CancelEndsTheLoopAndKeepsWhatWasThere) {
    browse({});
    EXPECT_EQ(toolkit.browseCalls.size(), 1u);
    EXPECT_EQ(form3().text("Text1"), "");
    EXPECT_EQ(toolkit.find("Form4"), nullptr);

    browse({withLauncher(game, "hl.exe")});
    browse({"", "/never/asked"});
    EXPECT_EQ(toolkit.browseCalls.size(), 3u);
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(form3().text("Text1"), game.path());
    EXPECT_EQ(gameFolderOfForm4(), game.path());
}

TEST_F(FolderChoiceTest, TheLoopGivesUpAfterAThousandPassesAndNextThenDoesNothing) {
    toolkit.folderAnswers.assign(1001, game.path());
    form3().click("Command1");
    EXPECT_EQ(toolkit.browseCalls.size(), 1000u);
    EXPECT_EQ(toolkit.messages.size(), 1000u);
    pressNext();
    EXPECT_EQ(toolkit.messages.size(), 1000u);
    EXPECT_FALSE(window("Form4").shown());

    // Regression: an earlier acceptance used to carry the last rejected folder on.
    morvane::test::TempTree good;
    browse({withLauncher(good, "hl.exe")});
    toolkit.folderAnswers.assign(1000, game.path());
    form3().click("Command1");
    pressNext();
    EXPECT_FALSE(window("Form4").shown());
    EXPECT_EQ(program.form3().state().folderValid, 0);
}

// Next carries on only a folder that passed the launcher test. Folders: V and W hold the launcher,
// R does not, "" cancels.
struct CarriedFolder {
    const char* name;
    std::vector<std::vector<std::string>> loops;
    std::string text1, gameFolder;  // afterwards, as letters ("Label1": Form4's caption at start)
    enum { MovesOn, Warns } next;
};

void PrintTo(const CarriedFolder& c, std::ostream* out) {
    *out << c.name;
}

class CarriedFolderTest : public FolderChoiceTest,
                          public ::testing::WithParamInterface<CarriedFolder> {
  protected:
    std::string path(const std::string& letter) {
        const std::map<std::string, const morvane::test::TempTree*> trees{
            {"V", &valid}, {"W", &other}, {"R", &game}};
        const auto it = trees.find(letter);
        return it == trees.end() ? letter : it->second->path();
    }

    morvane::test::TempTree valid, other;
};

TEST_P(CarriedFolderTest, NextCarriesOnOnlyAFolderThatPassedTheTest) {
    const CarriedFolder& c = GetParam();
    valid.write("hl.exe", "");
    other.write("hl.exe", "");
    for (const auto& loop : c.loops) {
        toolkit.folderAnswers.clear();
        for (const std::string& letter : loop)
            toolkit.folderAnswers.push_back(path(letter));
        form3().click("Command1");
    }
    EXPECT_EQ(form3().text("Text1"), path(c.text1));
    EXPECT_EQ(program.form3().state().chosenFolder, path(c.text1));
    EXPECT_EQ(gameFolderOfForm4(), path(c.gameFolder));

    const std::size_t warnings = toolkit.messages.size();
    pressNext();
    if (c.next == CarriedFolder::MovesOn) {
        EXPECT_TRUE(window("Form4").shown());
        EXPECT_EQ(gameFolderOfForm4(), path(c.text1));
    } else {
        ASSERT_EQ(toolkit.messages.size(), warnings + 1);
        EXPECT_EQ(toolkit.messages.back().text, "Выберите папку c CS или CSS");
        EXPECT_FALSE(window("Form4").shown());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Loops, CarriedFolderTest,
    ::testing::Values(
        CarriedFolder{
            "ValidThenRejectedAndCancel", {{"V"}, {"R", ""}}, "V", "V", CarriedFolder::MovesOn},
        CarriedFolder{"RejectedAndCancelFirst", {{"R", ""}}, "", "Label1", CarriedFolder::Warns},
        CarriedFolder{"ValidThenRejectedThenAnotherValid",
                      {{"V"}, {"R", "W"}},
                      "W",
                      "W",
                      CarriedFolder::MovesOn}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(FolderChoiceTest, NextBeforeAnyFolderAsksForOne) {
    pressNext();
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text, "Выберите папку c CS или CSS");
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!!!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form3().shown());
}

// Regression: every dialog opened at the drive root (on Linux the home folder), after a refused
// folder too, and where a Steam library holds the game. Letters: R a refused folder, V a valid
// one, "" cancel; I the installation in the Steam library, C the drive root.
TEST(FolderChoiceStartTest, TheDialogOpensWhereThePlayerWasElseAtTheFirstInstallationFound) {
    struct Case {
        const char* name;
        bool steam;
        std::vector<std::vector<std::string>> loops;
        std::vector<std::string> starts;
    };
    const Case cases[] = {
        {"no installation, refused", false, {{"R", ""}}, {"C", "R"}},
        {"installation, refused, valid, again", true, {{"R", "V"}, {""}}, {"I", "R", "V"}},
        {"installation, cancelled, again", true, {{""}, {""}}, {"I", "I"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        morvane::test::TempTree steam, refused, valid;
        valid.write("hl.exe", "");
        steam.makeDir("steamapps/common/Half-Life");
        const std::map<std::string, std::string> paths{
            {"R", refused.path()},
            {"V", valid.path()},
            {"I", std::filesystem::canonical(steam.path("steamapps/common/Half-Life")).string()},
            {"C", "c:\\"},
            {"", ""}};
        RecordingToolkit toolkit;
        PosixFileHost host;
        PosixTreeReader reader;
        PosixStateStore store;
        Program program(toolkit,
                        {host, reader, store, {{c.steam ? steam.path() : "/nowhere"}, {}}});
        program.form3().show();
        for (const auto& loop : c.loops) {
            toolkit.folderAnswers.clear();
            for (const std::string& letter : loop)
                toolkit.folderAnswers.push_back(paths.at(letter));
            toolkit.window("Form3").click("Command1");
        }
        std::vector<std::string> starts;
        for (const BrowseCall& call : toolkit.browseCalls)
            starts.push_back(call.startFolder);
        std::vector<std::string> expected;
        for (const std::string& letter : c.starts)
            expected.push_back(paths.at(letter));
        EXPECT_EQ(starts, expected);
    }
}

TEST_F(FolderChoiceTest, TheBrowserRemembersAStartFolderButPassesItOnlyWhenGivenOne) {
    Module1 module1;
    toolkit.folderAnswers = {"/games/cs"};
    EXPECT_EQ(module1.BrowseFolder(toolkit, form3(), ""), "/games/cs");
    EXPECT_EQ(module1.browseStartFolder(), "");
    EXPECT_EQ(module1.BrowseFolder(toolkit, form3(), "d:\\games"), "");
    EXPECT_EQ(module1.BrowseFolder(toolkit, form3(), ""), "");
    EXPECT_EQ(module1.browseStartFolder(), "d:\\games");
    ASSERT_EQ(toolkit.browseCalls.size(), 3u);
    EXPECT_EQ(toolkit.browseCalls[1].startFolder, "d:\\games");
    EXPECT_EQ(toolkit.browseCalls[2].startFolder, "") << "the dialog's own default";
}

}  // namespace
}  // namespace morvane::ui::test
