#include "Links.h"
#include "WizardFixture.h"

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
    EXPECT_EQ(window("Form2").text("Combo1"), "Counter Strike 1.6");
}

TEST_F(StartWindowTest, LinksOpenTheirAddressesAndLeaveWindowAndTimerAlone) {
    program.start();
    RecordingWindow& form1 = window("Form1");
    form1.click("Label1");
    form1.click("Label3");
    form1.click("Label4");
    form1.click("Label2");  // the heading is no link

    ASSERT_EQ(toolkit.urls.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(toolkit.urls[i], kMakerLinks[i].url);
    EXPECT_TRUE(form1.shown());
    EXPECT_FALSE(form1.closed());

    form1.raise("Timer1", Event::Timer);
    toolkit.runPosted();
    EXPECT_TRUE(window("Form2").shown());
}

TEST_F(StartWindowTest, LinksStayUnderlinedUntilThePointerCrossesSurfaceOrBanner) {
    program.start();
    RecordingWindow& form1 = window("Form1");
    form1.hover("Label1");
    form1.hover("Label3");
    EXPECT_TRUE(form1.underlined("Label1"));
    EXPECT_TRUE(form1.underlined("Label3"));
    EXPECT_FALSE(form1.underlined("Label4"));
    form1.hover("Label2");
    EXPECT_TRUE(form1.underlined("Label1"));

    form1.hover("Image1");
    for (auto label : {"Label1", "Label2", "Label3", "Label4"}) {
        EXPECT_FALSE(form1.underlined(label)) << label;
    }
    form1.hover("Label4");
    EXPECT_TRUE(form1.underlined("Label4"));
    form1.hover("Form1");
    EXPECT_FALSE(form1.underlined("Label4"));
}

TEST_F(StartWindowTest, ClosedByTheSystemEndsTheProgram) {
    program.start();
    window("Form1").raise("Form1", Event::Unload);
    EXPECT_EQ(toolkit.quitRequests, 1);
}

}  // namespace
}  // namespace morvane::ui::test
