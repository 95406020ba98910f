#include "tests/support/GameFolder.h"
#include "tests/support/TempTree.h"
#include "tests/windows/WizardFixture.h"

namespace morvane::ui::test {
namespace {

struct OptionPair {
    const char* option;
    const char* status;
};
constexpr OptionPair kPairs[] = {{"Check1", "Check4"},   {"Check2", "Check5"},
                                 {"Check3", "Check6"},   {"Check9", "Check8"},
                                 {"Check11", "Check10"}, {"Check14", "Check13"}};

class OptionsWindowTest : public WizardTest {
  protected:
    void SetUp() override {
        program.form4().setGameFolder(game.path());
        program.form4().show();
    }

    RecordingWindow& form4() { return window("Form4"); }
    void search() { form4().press("Image1", "Image2"); }
    void remove() { form4().press("Image3", "Image4"); }
    std::vector<int> statusValues() {
        std::vector<int> values;
        for (const OptionPair& pair : kPairs)
            values.push_back(form4().value(pair.status));
        return values;
    }

    morvane::test::TempTree game;
};

TEST_F(OptionsWindowTest, OptionBoxesClearTheirStatusWhenUntickedAndNeverSetIt) {
    for (const OptionPair& pair : kPairs) {
        SCOPED_TRACE(pair.option);
        form4().setValue(pair.status, 1);  // as a search leaves it
        for (const auto& [value, status] : {std::pair{1, 1}, {2, 1}, {0, 0}, {1, 0}}) {
            form4().setValueByUser(pair.option, value);
            EXPECT_EQ(form4().value(pair.status), status) << value;
        }
    }
}

TEST_F(OptionsWindowTest, ConfigWarningComesOnEveryTickAndNeverOnUntick) {
    for (int value : {1, 0, 1, 2})
        form4().setValueByUser("Check9", value);
    ASSERT_EQ(toolkit.messages.size(), 2u);
    for (const RecordedMessage& message : toolkit.messages) {
        EXPECT_EQ(message.text, "Выбрав данную функцию ваш конфиг станет стандартным");
        EXPECT_EQ(message.title, "Внимание!!!");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(form4().value("Check9"), 2);  // the warning never stops the tick
}

TEST_F(OptionsWindowTest, FurtherOptionsChangeNothingByThemselves) {
    form4().setValue("Check4", 1);
    const std::size_t before = toolkit.journal.size();
    form4().setValueByUser("Check7", 1);
    form4().setValueByUser("Check12", 1);
    EXPECT_EQ(toolkit.journal.size(), before + 2);  // the two changes themselves
}

TEST_F(OptionsWindowTest, SearchReadsTickedOptionsOnlyAndWritesEveryStatusBox) {
    game.write("cstrike/resource/GameMenu.res", "ad");
    game.write("cstrike_russian/config.cfg", "bind");
    game.write("cstrike/resource/LoadingDialog.res", "ad");
    for (const OptionPair& pair : kPairs)
        form4().setValue(pair.status, 1);
    form4().setValueByUser("Check1", 1);
    form4().setValueByUser("Check9", 1);
    form4().setValueByUser("Check2", 2);  // grayed: not chosen, though its file is there
    form4().setValueByUser("Check3", 1);  // chosen, nothing to find

    search();
    EXPECT_EQ(statusValues(), (std::vector<int>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(form4().value("Check1"), 1);  // option boxes are read, never written
}

TEST_F(OptionsWindowTest, TheRecordOfAnEarlierSearchOutlivesALaterOne) {
    form4().setValueByUser("Check1", 1);
    search();
    const std::string menu = game.path() + "/cstrike/resource/GameMenu.res";
    EXPECT_EQ(program.form4().record().slots[static_cast<int>(Slot::gameMenuPath)], menu);
    form4().setValueByUser("Check1", 0);
    program.form4().setGameFolder("/elsewhere");
    search();
    EXPECT_EQ(program.form4().record().slots[static_cast<int>(Slot::gameMenuPath)], menu);
}

TEST_F(OptionsWindowTest, RemovalTreatsTickedStatusBoxesAndShowsTheVerdictColourFirst) {
    game.write("cstrike/resource/GameMenu.res", "an advertisement much longer than the menu");
    form4().setValueByUser("Check1", 1);
    search();
    const std::size_t from = toolkit.journal.size();
    remove();
    EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"),
              morvane::test::contentOf(*host.programFolder() + "/files/GameMenu.res"));
    EXPECT_EQ(toolkit.entries("Form4.Label2=", from),
              (std::vector<std::string>{
                  "colour Form4.Label2=255,255,255", "text Form4.Label2=Неизвестно",
                  "colour Form4.Label2=0,255,0", "text Form4.Label2=Реклама возможно удалена"}));
}

TEST_F(OptionsWindowTest, GrayedBoxesCountAsUntickedInTheRemovalRunTickedOnesAsTicked) {
    game.write("cstrike/resource/GameMenu.res", "ad");
    game.makeDir("cstrike_russian");
    form4().setValueByUser("Check1", 1);
    search();
    form4().setValue("Check4", 2);  // as a toolkit could report it
    form4().setValueByUser("Check12", 2);
    form4().setValueByUser("Check7", 2);
    remove();
    EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"), "ad");
    EXPECT_FALSE(game.exists("cstrike/motd_temp.html"));
    EXPECT_FALSE(program.form4().record().readOnly);
    EXPECT_EQ(form4().text("Label2"), "Реклама не удалена");
    EXPECT_EQ(toolkit.entries("colour Form4.Label2").back(), "colour Form4.Label2=255,0,0");

    form4().setValueByUser("Check12", 1);
    form4().setValueByUser("Check7", 1);
    remove();
    EXPECT_TRUE(game.exists("cstrike/motd_temp.html"));
    EXPECT_TRUE(program.form4().record().readOnly);
    EXPECT_EQ(form4().text("Label2"), "Реклама возможно удалена");
}

// Regression: "Удалить" treated only what the last "Найти" had found, so that a player who ticked
// the kinds and removed without searching, or ticked one after the search, had nothing treated;
// and after a run "Найти" found the clean replacement files as adverts.
TEST(TickedKindsTest, TheRunTreatsWhatIsTickedSearchingFirstWhenTheTicksChangedSinceTheSearch) {
    using enum Slot;
    struct Case {
        const char* name;
        std::vector<std::string> steps;  // "+Check1" ticks, "-Check1" unticks, "search",
                                         // "scoreboard" puts a scoreboard advert there
        std::vector<int> status;         // the status boxes after the run
        bool menuTreated, configTreated;
        std::vector<int> searchedAfter;  // the status boxes of a search after the run
    };
    const std::vector<int> none(6, 0);
    const Case cases[] = {
        {"nothing ticked, never searched", {}, none, false, false, none},
        {"never searched", {"+Check1", "+Check9"}, {1, 0, 0, 1, 0, 0}, true, true, none},
        {"ticked since", {"+Check1", "search", "+Check9"}, {1, 0, 0, 1, 0, 0}, true, true, none},
        {"unticked since",
         {"+Check1", "+Check9", "search", "-Check9"},
         {1, 0, 0, 0, 0, 0},
         true,
         false,
         none},
        {"unticked and ticked again since",
         {"+Check1", "+Check9", "search", "-Check9", "+Check9"},
         {1, 0, 0, 1, 0, 0},
         true,
         true,
         none},
        {"the ticks searched: what they found",
         {"+Check1", "+Check3", "search", "scoreboard"},
         {1, 0, 0, 0, 0, 0},
         true,
         false,
         {0, 0, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        morvane::test::GameFolder game;
        game.putAd(gameMenuPath);
        game.putAd(configPath);
        Wizard wizard;
        wizard.program.form4().setGameFolder(game.path());
        wizard.program.form4().show();
        RecordingWindow& form4 = wizard.toolkit.window("Form4");
        for (const std::string& step : c.steps) {
            if (step == "search")
                form4.press("Image1", "Image2");
            else if (step == "scoreboard")
                game.putAd(scoreBoardPath);
            else
                form4.setValueByUser(step.substr(1), step[0] == '+' ? 1 : 0);
        }
        const auto statusBoxes = [&form4] {
            std::vector<int> values;
            for (const OptionPair& pair : kPairs)
                values.push_back(form4.value(pair.status));
            return values;
        };
        form4.press("Image3", "Image4");
        EXPECT_EQ(statusBoxes(), c.status);
        const std::string shipped =
            morvane::test::contentOf(*wizard.host.programFolder() + "/files/GameMenu.res");
        EXPECT_EQ(game.read(gameMenuPath),
                  c.menuTreated ? shipped : morvane::test::GameFolder::adContent(gameMenuPath));
        EXPECT_EQ(game.exists(morvane::test::target(configPath)), !c.configTreated);
        // A search after the run finds what the run left: nothing of what it treated.
        form4.press("Image1", "Image2");
        EXPECT_EQ(statusBoxes(), c.searchedAfter);
    }
}

// The real host, looking for the replacement folder beside another program folder.
class HostWithProgramIn : public PosixFileHost {
  public:
    explicit HostWithProgramIn(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> programFolder() override { return folder_; }

  private:
    std::string folder_;
};

// Regression: without its replacement files the run deleted the adverts' files, copied nothing and
// could still report success. The warning names the first missing file (it did not say which).
TEST(ReplacementCheckTest, ARunLackingAReplacementItNeedsWarnsAndChangesNothing) {
    const std::vector<std::string> kShipped{"GameMenu.res",
                                            "LoadingDialog.res",
                                            "LoadingDialogNoBanner.res",
                                            "LoadingDialogVAC.res",
                                            "ScoreBoard.res",
                                            "autobuy.txt",
                                            "motd.txt"};
    struct Case {
        const char* name;
        std::vector<std::string> missing;  // all: no replacement folder at all
        std::vector<const char*> options;
        bool blockServerMotd, blocked;
        const char* named = "";  // the first missing file the warning names
        const char* more = "";   // and the line after it
    };
    const Case cases[] = {
        {"no replacement folder", kShipped, {"Check1"}, false, true, "GameMenu.res"},
        {"the menu's replacement",
         {"GameMenu.res"},
         {"Check1", "Check9"},
         false,
         true,
         "GameMenu.res"},
        {"the welcome page's, for Check12", {"motd.txt"}, {}, true, true, "motd.txt"},
        {"several", kShipped, {"Check1", "Check2"}, false, true, "GameMenu.res", "и ещё 3\n"},
        {"config files need none", kShipped, {"Check9"}, false, false},
        {"one the run does not need", {"motd.txt"}, {"Check1"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        morvane::test::TempTree program, game;
        if (c.missing != kShipped) {
            for (const std::string& name : kShipped) {
                if (std::ranges::find(c.missing, name) == c.missing.end())
                    program.write("files/" + name, "clean " + name);
            }
        }
        game.write("cstrike/resource/GameMenu.res", "an advert");
        game.write("cstrike/resource/LoadingDialog.res", "an advert");
        game.write("cstrike_russian/config.cfg", "bind");
        RecordingToolkit toolkit;
        HostWithProgramIn host(program.path());
        PosixTreeReader reader;
        PosixStateStore store;
        Program wizard(toolkit, {host, reader, store, {{}, program.path("backups")}});
        wizard.form4().setGameFolder(game.path());
        wizard.form4().show();
        RecordingWindow& form4 = toolkit.window("Form4");
        for (const char* option : c.options)
            form4.setValueByUser(option, 1);
        form4.setValueByUser("Check12", c.blockServerMotd ? 1 : 0);
        form4.press("Image1", "Image2");

        const std::size_t from = toolkit.journal.size();
        form4.press("Image3", "Image4");
        const auto messages = toolkit.entries("message ", from);
        if (c.blocked) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(toolkit.messages.back().text,
                      "Не найдены файлы для замены рядом с программой:\n" + program.path() +
                          "/files/" + c.named + "\n" + c.more + "Переустановите программу.");
            EXPECT_EQ(toolkit.messages.back().title, "Внимание!");
            EXPECT_EQ(toolkit.messages.back().icon, MessageIcon::Exclamation);
            EXPECT_TRUE(toolkit.entries("Form4.Label2=", from).empty())
                << "the result label keeps what it showed";
            EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"), "an advert");
            EXPECT_TRUE(game.exists("cstrike_russian/config.cfg"));
            EXPECT_FALSE(game.exists("cstrike/motd_temp.html"));
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(form4.text("Label2"), "Реклама возможно удалена");
        }
    }
}

}  // namespace
}  // namespace morvane::ui::test
