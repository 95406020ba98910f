#include "tests/windows/WizardFixture.h"

namespace morvane::ui::test {
namespace {

using GameChoiceTest = WizardTest;

TEST_F(GameChoiceTest, NextWithTheInitialTextShowsFolderChoiceThenCloses) {
    openGameChoice();
    window("Form2").press("Image1", "Image2");

    EXPECT_LT(at("show Form3"), at("close Form2"));
    ASSERT_LT(at("close Form2"), toolkit.journal.size());
    EXPECT_TRUE(toolkit.messages.empty());
    toolkit.runPosted();
    EXPECT_EQ(toolkit.find("Form2"), nullptr);
    EXPECT_TRUE(window("Form3").shown());
    EXPECT_EQ(toolkit.find("Form4"), nullptr);
}

TEST_F(GameChoiceTest, SourceGetsTheNoticeEveryTimeAndAnyOtherTextNothing) {
    openGameChoice();
    RecordingWindow& form2 = window("Form2");
    for (const char* text : {"counter strike 1.6", "Counter Strike 1.6 ", " Counter Strike 1.6",
                             "Counter Strike source", "Counter Strike Source ", ""}) {
        form2.type("Combo1", text);
        form2.press("Image1", "Image2");
        EXPECT_TRUE(toolkit.messages.empty()) << '"' << text << '"';
    }
    form2.type("Combo1", "Counter Strike Source");
    form2.press("Image1", "Image2");
    form2.click("Image2");

    ASSERT_EQ(toolkit.messages.size(), 2u);
    EXPECT_EQ(toolkit.messages[1].text, "Данная функция в разработке!");
    EXPECT_EQ(toolkit.messages[1].title, "");
    EXPECT_EQ(toolkit.messages[1].icon, MessageIcon::Information);
    EXPECT_TRUE(form2.shown());
    EXPECT_EQ(toolkit.find("Form3"), nullptr);
}

}  // namespace
}  // namespace morvane::ui::test
