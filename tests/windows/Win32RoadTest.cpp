// The whole road on the real Win32 toolkit and host, with scripted dialogs: tick, next, "...",
// next, the options, search, removal, close. Catches what the recording toolkit cannot: a control
// the Win32 layer names differently, a window discarded while its message is still handled, a
// path the Windows host reads otherwise.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "platform/ui/DialogScript.h"
#include "platform/ui/win32/NativeForm.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"
#include "tests/support/WideTree.h"
#include "windows/Program.h"

namespace morvane::ui::test {
namespace {

// The window of ours with that caption's layout name ("Form2"), when it is shown.
win32::NativeForm* shown(const WindowLayout& layout) {
    HWND hwnd = FindWindowW(L"MorvaneWindow", morvane::win32::wide(layout.caption).c_str());
    return hwnd != nullptr && IsWindowVisible(hwnd) ? win32::NativeForm::of(hwnd) : nullptr;
}

HWND control(const WindowLayout& layout, std::string_view name) {
    win32::NativeForm* form = shown(layout);
    if (form == nullptr)
        throw std::logic_error(std::string(layout.name) + " is not shown");
    return form->control(name).hwnd;
}

// Moves the pointer onto the normal face and clicks the hover face that replaces it.
void press(const WindowLayout& layout, std::string_view normalFace, std::string_view hoverFace) {
    SendMessageW(control(layout, normalFace), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    HWND hover = control(layout, hoverFace);
    ASSERT_TRUE(IsWindowVisible(hover)) << layout.name << '.' << hoverFace;
    SendMessageW(hover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(hover, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool ticked(const WindowLayout& layout, std::string_view box) {
    return SendMessageW(control(layout, box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The real host, which waits for another run on the folder no longer than a moment; the wait it
// was asked for is noted.
class ImpatientHost : public Win32FileHost {
  public:
    RunStart beginChanges(const std::string& game,
                          std::optional<std::chrono::milliseconds> wait) override {
        asked.push_back(wait);
        return Win32FileHost::beginChanges(game, std::chrono::milliseconds(0));
    }
    std::vector<std::optional<std::chrono::milliseconds>> asked;
};

// From the start window through the folder choice to the options window, with the folder the
// script gives chosen; `chosen` looks at the folder choice window once it is.
void openOptionsWindow(
    Win32Toolkit& toolkit, Program& program, const std::function<void()>& chosen = [] {}) {
    program.start();
    // The start window's tick, without sitting out its 3000 ms.
    win32::NativeForm* form1 = shown(form1Layout());
    ASSERT_NE(form1, nullptr);
    SendMessageW(form1->hwnd(), WM_TIMER, form1->timerId("Timer1"), 0);
    ASSERT_TRUE(settle(toolkit, [] { return shown(form2Layout()) && !shown(form1Layout()); }));
    press(form2Layout(), "Image1", "Image2");
    ASSERT_TRUE(settle(toolkit, [] { return shown(form3Layout()) && !shown(form2Layout()); }));
    SendMessageW(control(form3Layout(), "Command1"), BM_CLICK, 0, 0);
    chosen();
    press(form3Layout(), "Image1", "Image2");
    ASSERT_TRUE(settle(toolkit, [] { return shown(form4Layout()) && !shown(form3Layout()); }));
}

// The folder choice takes a folder as the driver does: a launcher is a file, in any letter case.
TEST(Win32RoadTest, FromStartWindowToVerdict) {
    morvane::test::WideTree game, notGame;
    game.write("HL.EXE", "launcher");
    notGame.makeDir("hl.exe");
    game.write("cstrike\\resource\\GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.write("cstrike_russian\\config.cfg", "bind \"F1\" \"say visit our server\"");
    DialogScript script;
    script.folders = {notGame.path(), game.path()};
    Win32Toolkit toolkit;
    toolkit.useScript(&script);
    Win32FileHost host;
    Win32TreeReader reader;
    Program program(toolkit, host, {reader, {}});

    ASSERT_NO_FATAL_FAILURE(openOptionsWindow(toolkit, program, [&] {
        EXPECT_EQ(script.browseStarts, (std::vector<std::string>{"c:\\", notGame.path()}));
        EXPECT_EQ(windowText(control(form3Layout(), "Text1")), game.path());
    }));

    SendMessageW(control(form4Layout(), "Check1"), BM_CLICK, 0, 0);
    SendMessageW(control(form4Layout(), "Check9"), BM_CLICK, 0, 0);
    press(form4Layout(), "Image1", "Image2");
    EXPECT_TRUE(ticked(form4Layout(), "Check4"));
    EXPECT_TRUE(ticked(form4Layout(), "Check8"));
    EXPECT_FALSE(ticked(form4Layout(), "Check5"));
    press(form4Layout(), "Image3", "Image4");

    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Реклама возможно удалена");
    const std::string shipped = game.readAbsolute(*host.programFolder() + "\\files\\GameMenu.res");
    EXPECT_EQ(game.read("cstrike\\resource\\GameMenu.res"), shipped);
    EXPECT_EQ(game.read("cstrike_russian\\resource\\GameMenu.res"), "(none)") << "no folder for it";
    EXPECT_EQ(game.read("cstrike_russian\\config.cfg"), "(none)");
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].text, "Файл 'hl.exe' не найден выберите папку с CS или CSS");
    EXPECT_EQ(script.messages[1].text, "Выбрав данную функцию ваш конфиг станет стандартным");
    EXPECT_EQ(script.quitRequests, 0);

    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(script.quitRequests, 1);
}

// After the verdict the files that could not be treated are named; a folder another run holds is
// given up after the driver's wait, and nothing changes.
TEST(Win32RoadTest, NamesWhatItCouldNotTreatAndGivesUpAFolderHeldElsewhere) {
    morvane::test::WideTree game;
    game.write("hl.exe", "launcher");
    game.write("cstrike_russian\\resource\\GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.makeDir("cstrike\\resource\\GameMenu.res");  // a folder: no copy can replace it
    DialogScript script;
    script.folders.push_back(game.path());
    Win32Toolkit toolkit;
    toolkit.useScript(&script);
    ImpatientHost host;
    Win32TreeReader reader;
    Program program(toolkit, host, {reader, {}});
    ASSERT_NO_FATAL_FAILURE(openOptionsWindow(toolkit, program));
    SendMessageW(control(form4Layout(), "Check1"), BM_CLICK, 0, 0);
    press(form4Layout(), "Image1", "Image2");
    press(form4Layout(), "Image3", "Image4");

    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Реклама возможно удалена");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "Внимание!");
    EXPECT_EQ(script.messages[0].text.rfind("Не удалось обработать файлы:\n" + game.path() +
                                                "\\cstrike\\resource\\GameMenu.res (",
                                            0),
              0u)
        << script.messages[0].text;

    Win32FileHost other;
    ASSERT_EQ(other.beginChanges(game.path(), std::chrono::milliseconds(0)), RunStart::Begun);
    game.write("cstrike_russian\\resource\\GameMenu.res", "\"GameMenu\" { \"ad again\" }");
    press(form4Layout(), "Image3", "Image4");
    EXPECT_EQ(host.asked.back(), std::chrono::milliseconds(10000));
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[1].text,
              "Папка игры занята другой программой. Закройте её и попробуйте снова.");
    EXPECT_EQ(game.read("cstrike_russian\\resource\\GameMenu.res"),
              "\"GameMenu\" { \"ad again\" }");
    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Неизвестно");
    other.endChanges();
    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace morvane::ui::test
