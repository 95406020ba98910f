#include <fstream>
#include <iterator>

#include "TempTree.h"
#include "WizardFixture.h"

namespace morvane::ui::test {
namespace {

using RoadTest = WizardTest;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One removal from start to verdict, as a user walks it.
TEST_F(RoadTest, FromStartWindowToVerdict) {
    morvane::test::TempTree game;
    game.write("hl.exe", "launcher");
    for (const std::string edition : {"cstrike", "cstrike_russian"}) {
        game.write(edition + "/resource/GameMenu.res",
                   "\"GameMenu\" { \"1\" { \"label\" \"ad\" } }");
        game.write(edition + "/config.cfg", "bind \"F1\" \"say visit our server\"");
    }

    program.start();
    window("Form1").raise("Timer1", Event::Timer);
    toolkit.runPosted();
    window("Form2").press("Image1", "Image2");
    toolkit.runPosted();
    toolkit.folderAnswers.push_back(game.path());
    window("Form3").click("Command1");
    window("Form3").press("Image1", "Image2");
    toolkit.runPosted();

    RecordingWindow& form4 = window("Form4");
    EXPECT_EQ(toolkit.find("Form1"), nullptr);
    EXPECT_EQ(toolkit.find("Form2"), nullptr);
    EXPECT_EQ(toolkit.find("Form3"), nullptr);
    EXPECT_EQ(form4.text("Label2"), "Неизвестно");
    form4.setValueByUser("Check1", 1);
    form4.setValueByUser("Check9", 1);
    form4.press("Image1", "Image2");
    EXPECT_EQ(form4.value("Check4"), 1);
    EXPECT_EQ(form4.value("Check8"), 1);
    form4.press("Image3", "Image4");

    const std::string menu = readFile(*host.programFolder() + "/files/GameMenu.res");
    ASSERT_FALSE(menu.empty());
    for (const std::string edition : {"cstrike", "cstrike_russian"}) {
        EXPECT_EQ(game.read(edition + "/resource/GameMenu.res"), menu) << edition;
        EXPECT_FALSE(game.exists(edition + "/config.cfg")) << edition;
    }
    for (auto box : {"Check5", "Check6", "Check10", "Check13"})
        EXPECT_EQ(form4.value(box), 0);
    EXPECT_EQ(form4.text("Label2"), "Реклама возможно удалена");
    EXPECT_EQ(form4.textColor("Label2"), (Rgb{0, 255, 0}));
    ASSERT_EQ(toolkit.messages.size(), 1u);  // the config warning, nothing else
    EXPECT_EQ(toolkit.quitRequests, 0);

    form4.raise("Form4", Event::Unload);
    EXPECT_EQ(toolkit.quitRequests, 1);
}

}  // namespace
}  // namespace morvane::ui::test
