#include <fstream>
#include <iterator>

#include "TempTree.h"
#include "WizardFixture.h"

namespace morvane::ui::test {
namespace {

using morvane::Slot;

struct OptionPair {
    const char* option;
    const char* status;
};
constexpr OptionPair kPairs[] = {{"Check1", "Check4"},   {"Check2", "Check5"},
                                 {"Check3", "Check6"},   {"Check9", "Check8"},
                                 {"Check11", "Check10"}, {"Check14", "Check13"}};
constexpr const char* kStatusBoxes[] = {"Check4", "Check5",  "Check6",
                                        "Check8", "Check10", "Check13"};

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
        for (const char* box : kStatusBoxes)
            values.push_back(form4().value(box));
        return values;
    }
    // The Label2 entries of the journal from `from` on, as "colour ..." and "text ..." lines.
    std::vector<std::string> label2Changes(std::size_t from) {
        std::vector<std::string> changes;
        for (std::size_t i = from; i < toolkit.journal.size(); ++i) {
            if (toolkit.journal[i].find("Form4.Label2=") != std::string::npos) {
                changes.push_back(toolkit.journal[i]);
            }
        }
        return changes;
    }

    // The bytes of a replacement file, from the folder beside this test program.
    std::string replacement(const std::string& name) {
        std::ifstream in(*host.programFolder() + "/files/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    morvane::test::TempTree game;
};

TEST_F(OptionsWindowTest, OptionBoxesClearTheirStatusWhenUntickedAndNeverSetIt) {
    for (const OptionPair& pair : kPairs) {
        SCOPED_TRACE(pair.option);
        form4().setValue(pair.status, 1);  // as a search leaves it
        form4().setValueByUser(pair.option, 1);
        EXPECT_EQ(form4().value(pair.status), 1);
        form4().setValueByUser(pair.option, 2);
        EXPECT_EQ(form4().value(pair.status), 1);
        form4().setValueByUser(pair.option, 0);
        EXPECT_EQ(form4().value(pair.status), 0);
        form4().setValueByUser(pair.option, 1);
        EXPECT_EQ(form4().value(pair.status), 0);
    }
}

TEST_F(OptionsWindowTest, ConfigWarningComesOnEveryTickAndNeverOnUntick) {
    form4().setValueByUser("Check9", 1);
    form4().setValueByUser("Check9", 0);
    form4().setValueByUser("Check9", 1);
    form4().setValueByUser("Check9", 2);

    ASSERT_EQ(toolkit.messages.size(), 2u);
    for (const RecordedMessage& message : toolkit.messages) {
        EXPECT_EQ(message.text, "Выбрав данную функцию ваш конфиг станет стандартным");
        EXPECT_EQ(message.title, "Внимание!!!");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(form4().value("Check9"), 2);  // the warning never stops the tick
}

TEST_F(OptionsWindowTest, FurtherOptionsChangeNothingElse) {
    form4().setValue("Check4", 1);
    const std::size_t before = toolkit.journal.size();
    form4().setValueByUser("Check7", 1);
    form4().setValueByUser("Check12", 1);
    form4().setValueByUser("Check7", 0);
    EXPECT_EQ(toolkit.journal.size(), before + 3);  // the three changes themselves
    EXPECT_EQ(form4().value("Check4"), 1);
}

TEST_F(OptionsWindowTest, SearchReadsTickedOptionsAndWritesEveryStatusBox) {
    game.write("cstrike/resource/GameMenu.res", "ad");
    game.write("cstrike_russian/config.cfg", "bind");
    game.write("cstrike/resource/LoadingDialog.res", "ad");
    for (const char* box : kStatusBoxes)
        form4().setValue(box, 1);
    form4().setValueByUser("Check1", 1);
    form4().setValueByUser("Check9", 1);
    form4().setValueByUser("Check2", 2);  // grayed: not chosen, though its file is there
    form4().setValueByUser("Check3", 1);  // chosen, nothing to find

    search();
    EXPECT_EQ(statusValues(), (std::vector<int>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(program.form4().record().gameFolder, game.path());
    EXPECT_EQ(form4().value("Check1"), 1);  // option boxes are read, never written
}

TEST_F(OptionsWindowTest, SlotsOfAnEarlierSearchOutliveALaterOne) {
    form4().setValueByUser("Check1", 1);
    search();
    const std::string menuPath = game.path() + "/cstrike/resource/GameMenu.res";
    EXPECT_EQ(program.form4().record().slots[static_cast<int>(Slot::gameMenuPath)], menuPath);

    form4().setValueByUser("Check1", 0);
    program.form4().setGameFolder("/elsewhere");
    search();
    EXPECT_EQ(program.form4().record().slots[static_cast<int>(Slot::gameMenuPath)], menuPath);
}

TEST_F(OptionsWindowTest, RemovalTreatsTickedStatusBoxesAndShowsTheVerdictColourFirst) {
    game.write("cstrike/resource/GameMenu.res", "an advertisement much longer than the menu");
    form4().setValueByUser("Check1", 1);
    search();
    ASSERT_EQ(form4().value("Check4"), 1);

    const std::size_t from = toolkit.journal.size();
    remove();
    EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"), replacement("GameMenu.res"));
    EXPECT_EQ(label2Changes(from),
              (std::vector<std::string>{
                  "colour Form4.Label2=255,255,255", "text Form4.Label2=Неизвестно",
                  "colour Form4.Label2=0,255,0", "text Form4.Label2=Реклама возможно удалена"}));
    EXPECT_EQ(statusValues(), (std::vector<int>{1, 0, 0, 0, 0, 0}));  // the run leaves them
}

TEST_F(OptionsWindowTest, GrayedBoxesCountAsUntickedInTheRemovalRun) {
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
    EXPECT_EQ(form4().text("Label2"), "Реклама не удалена");
    EXPECT_EQ(form4().textColor("Label2"), (Rgb{255, 0, 0}));
    EXPECT_FALSE(program.form4().record().readOnly);
}

TEST_F(OptionsWindowTest, FurtherOptionsReachTheRemovalRun) {
    game.makeDir("cstrike");
    form4().setValueByUser("Check12", 1);
    form4().setValueByUser("Check7", 1);
    remove();
    EXPECT_TRUE(game.exists("cstrike/motd_temp.html"));
    EXPECT_TRUE(program.form4().record().readOnly);
    EXPECT_EQ(form4().text("Label2"), "Реклама возможно удалена");
}

TEST_F(OptionsWindowTest, ClosingTheWindowEndsTheProgram) {
    form4().raise("Form4", Event::Unload);
    EXPECT_EQ(toolkit.quitRequests, 1);
}

}  // namespace
}  // namespace morvane::ui::test
