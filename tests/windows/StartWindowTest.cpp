#include "tests/windows/WizardFixture.h"
#include "windows/layouts/Links.h"

namespace morvane::ui::test {
namespace {

using StartWindowTest = WizardTest;

TEST_F(StartWindowTest, TickShowsGameChoiceBeforeClosingAndDiscardsOnlyAfterTheHandler) {
    program.start();
    RecordingWindow& form1 = window("Form1");
    EXPECT_TRUE(form1.shown());
    form1.raise("Timer1", Event::Timer);

    EXPECT_LT(at("show Form2"), at("close Form1"));
    ASSERT_LT(at("close Form1"), toolkit.journal.size());
    // Still alive: the tick handler that closed it must not run on a destroyed window.
    EXPECT_EQ(toolkit.find("Form1"), &form1);
    toolkit.runPosted();
    EXPECT_EQ(toolkit.find("Form1"), nullptr);
    EXPECT_TRUE(window("Form2").shown());
}

TEST_F(StartWindowTest, LinksOpenTheirAddressesAndLeaveTheWindowAndItsTimerAlone) {
    program.start();
    for (const char* label : {"Label1", "Label3", "Label4", "Label2"})  // the heading is no link
        window("Form1").click(label);
    EXPECT_EQ(toolkit.entries("url "),
              (std::vector<std::string>{"url " + std::string(kMakerLinks[0].url),
                                        "url " + std::string(kMakerLinks[1].url),
                                        "url " + std::string(kMakerLinks[2].url)}));
    window("Form1").raise("Timer1", Event::Timer);
    toolkit.runPosted();
    EXPECT_TRUE(window("Form2").shown());
}

TEST_F(StartWindowTest, LinksStayUnderlinedUntilThePointerCrossesSurfaceOrBanner) {
    program.start();
    RecordingWindow& form1 = window("Form1");
    form1.hover("Label1");
    form1.hover("Label3");
    form1.hover("Label2");
    EXPECT_TRUE(form1.underlined("Label1"));
    EXPECT_TRUE(form1.underlined("Label3"));
    EXPECT_FALSE(form1.underlined("Label4"));
    form1.hover("Image1");
    for (auto label : {"Label1", "Label2", "Label3", "Label4"})
        EXPECT_FALSE(form1.underlined(label)) << label;
    form1.hover("Label4");
    form1.hover("Form1");
    EXPECT_FALSE(form1.underlined("Label4"));
}

}  // namespace
}  // namespace morvane::ui::test
