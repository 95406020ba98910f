#include "tests/windows/WizardFixture.h"

namespace morvane::ui::test {
namespace {

// The picture buttons behave the same on Form2, Form3 and Form4.
class PictureButtonTest : public WizardTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        const std::string name = GetParam();
        if (name == "Form2")
            program.form2().show();
        if (name == "Form3")
            program.form3().show();
        if (name == "Form4")
            program.form4().show();
    }

    RecordingWindow& form() { return window(GetParam()); }
    std::vector<bool> faces() {
        std::vector<bool> up;
        for (auto face : {"Image1", "Image2", "Image3", "Image4"})
            up.push_back(form().isVisible(face));
        return up;
    }
};

using Faces = std::vector<bool>;  // Image1 .. Image4 visible

TEST_P(PictureButtonTest, HoverFacesStayUpUntilTheBareSurface) {
    form().hover("Image1");
    EXPECT_EQ(faces(), (Faces{false, true, true, false}));
    form().hover("Image3");
    EXPECT_EQ(faces(), (Faces{false, true, false, true}));
    form().hover("Image2");
    form().hover("Image4");
    EXPECT_EQ(faces(), (Faces{false, true, false, true}));
    form().hover(GetParam());
    EXPECT_EQ(faces(), (Faces{true, false, true, false}));
}

TEST_P(PictureButtonTest, NormalFacesTakeNoClickAndClosingTheWindowEndsTheProgram) {
    form().click("Image1");
    form().click("Image3");
    EXPECT_EQ(toolkit.quitRequests, 0);
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_TRUE(toolkit.browseCalls.empty());
    form().raise(GetParam(), Event::Unload);
    EXPECT_EQ(toolkit.quitRequests, 1);
}

INSTANTIATE_TEST_SUITE_P(Windows, PictureButtonTest, ::testing::Values("Form2", "Form3", "Form4"),
                         [](const auto& test) { return std::string(test.param); });

using WindowsTest = WizardTest;

TEST_F(WindowsTest, ExitOnTheChoiceWindowsAndAClosedStartWindowEndTheProgram) {
    program.start();
    window("Form1").raise("Form1", Event::Unload);
    program.form2().show();
    window("Form2").press("Image3", "Image4");
    program.form3().show();
    window("Form3").press("Image3", "Image4");
    EXPECT_EQ(toolkit.quitRequests, 3);
}

TEST_F(WindowsTest, OnTheOptionsWindowFrame1RestoresTheFacesButOtherControlsDoNot) {
    program.form4().show();
    RecordingWindow& form4 = window("Form4");
    form4.hover("Image1");
    form4.hover("Image3");
    for (auto control : {"Frame2", "Frame3", "Check1", "Check4", "Check7", "Label2"}) {
        form4.hover(control);
        EXPECT_TRUE(form4.isVisible("Image2") && form4.isVisible("Image4")) << control;
    }
    form4.hover("Frame1");
    EXPECT_EQ(form4.isVisible("Image1") + form4.isVisible("Image3"), 2);
    EXPECT_EQ(form4.isVisible("Image2") + form4.isVisible("Image4"), 0);
}

// Regression: the boxes were given whichever window was active, or none, and so stood in the
// middle of the screen.
TEST_F(WindowsTest, EveryMessageBoxBelongsToTheWindowThatShowsIt) {
    openFolderChoice();
    window("Form3").press("Image1", "Image2");  // no folder yet
    toolkit.folderAnswers = {"/nowhere"};
    window("Form3").click("Command1");  // no launcher there
    program.form4().show();
    window("Form4").setValueByUser("Check9", 1);
    program.form2().show();
    window("Form2").type("Combo1", "Counter Strike Source");
    window("Form2").press("Image1", "Image2");
    std::vector<std::string> owners;
    for (const RecordedMessage& message : toolkit.messages)
        owners.push_back(message.owner);
    EXPECT_EQ(owners, (std::vector<std::string>{"Form3", "Form3", "Form4", "Form2"}));
}

}  // namespace
}  // namespace morvane::ui::test
