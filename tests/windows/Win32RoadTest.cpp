// The whole road on the real Win32 toolkit and host, with scripted dialogs: tick, next, "...",
// next, the options, search, removal, close. Catches what the recording toolkit cannot: a control
// the Win32 layer names differently, a window discarded while its message is still handled, a
// path the Windows host reads otherwise.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UserPlaces.h"
#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32StateStore.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "platform/ui/DialogScript.h"
#include "platform/ui/win32/NativeForm.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"
#include "tests/support/WideTree.h"
#include "tests/support/Win32ProgramRun.h"
#include "tests/windows/RoadExpectations.h"
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

// The program on the real Win32 toolkit and `Host`, with every dialog scripted to choose `game`,
// keeping its backups where `places` says.
template <class Host = Win32FileHost>
struct Road {
    Road(const std::string& game, UserPlaces places)
        : program(toolkit, {host, reader, store, std::move(places)}) {
        script.folders.push_back(game);
        toolkit.useScript(&script);
    }

    // From the start window through the folder choice to the options window; `chosen` looks at
    // the folder choice window once the folder is chosen.
    void openOptionsWindow(const std::function<void()>& chosen = [] {}) {
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

    DialogScript script;
    Win32Toolkit toolkit;
    Host host;
    Win32TreeReader reader;
    Win32StateStore store;
    Program program;
};

void click(std::string_view box) {
    SendMessageW(control(form4Layout(), box), BM_CLICK, 0, 0);
}

// The folder choice takes a folder as the driver does: a launcher is a file, in any letter case.
TEST(Win32RoadTest, FromStartWindowToVerdict) {
    morvane::test::WideTree game, notGame, state;
    game.write("HL.EXE", "launcher");
    notGame.makeDir("hl.exe");
    game.write("cstrike\\resource\\GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.write("cstrike_russian\\config.cfg", "bind \"F1\" \"say visit our server\"");
    Road road(game.path(), {{}, state.path("backups")});
    road.script.folders = {notGame.path(), game.path()};
    ASSERT_NO_FATAL_FAILURE(road.openOptionsWindow([&] {
        EXPECT_EQ(road.script.browseStarts, (std::vector<std::string>{"c:\\", notGame.path()}));
        EXPECT_EQ(windowText(control(form3Layout(), "Text1")), game.path());
    }));

    click("Check1");
    click("Check9");
    press(form4Layout(), "Image1", "Image2");
    EXPECT_TRUE(ticked(form4Layout(), "Check4"));
    EXPECT_TRUE(ticked(form4Layout(), "Check8"));
    EXPECT_FALSE(ticked(form4Layout(), "Check5"));
    press(form4Layout(), "Image3", "Image4");

    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Реклама возможно удалена");
    const std::string shipped =
        game.readAbsolute(*road.host.programFolder() + "\\files\\GameMenu.res");
    EXPECT_EQ(game.read("cstrike\\resource\\GameMenu.res"), shipped);
    EXPECT_EQ(game.read("cstrike_russian\\resource\\GameMenu.res"), "(none)") << "no folder for it";
    EXPECT_EQ(game.read("cstrike_russian\\config.cfg"), "(none)");
    ASSERT_EQ(road.script.messages.size(), 2u);
    EXPECT_EQ(road.script.messages[0].text, "Файл 'hl.exe' не найден выберите папку с CS или CSS");
    EXPECT_EQ(road.script.messages[1].text, "Выбрав данную функцию ваш конфиг станет стандартным");
    EXPECT_EQ(road.script.quitRequests, 0);

    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(road.script.quitRequests, 1);
}

// After the verdict the files that could not be treated are named; a folder another run holds is
// given up after the driver's wait, and nothing changes.
TEST(Win32RoadTest, NamesWhatItCouldNotTreatAndGivesUpAFolderHeldElsewhere) {
    morvane::test::WideTree game, state;
    game.write("hl.exe", "launcher");
    game.write("cstrike_russian\\resource\\GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.makeDir("cstrike\\resource\\GameMenu.res");  // a folder: no copy can replace it
    Road<ImpatientHost> road(game.path(), {{}, state.path("backups")});
    ASSERT_NO_FATAL_FAILURE(road.openOptionsWindow());
    click("Check1");
    press(form4Layout(), "Image1", "Image2");
    press(form4Layout(), "Image3", "Image4");

    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Реклама возможно удалена");
    const auto& messages = road.script.messages;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание!");
    EXPECT_EQ(
        messages[0].text,
        "Не удалось обработать файлы:\ncstrike\\resource\\GameMenu.res (атрибуты: это папка)");

    Win32FileHost other;
    ASSERT_EQ(other.beginChanges(game.path(), std::chrono::milliseconds(0)), RunStart::Begun);
    game.write("cstrike_russian\\resource\\GameMenu.res", "\"GameMenu\" { \"ad again\" }");
    press(form4Layout(), "Image3", "Image4");
    EXPECT_EQ(road.host.asked.back(), std::chrono::milliseconds(10000));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text,
              "Папка игры занята другой программой. Закройте её и попробуйте снова.");
    EXPECT_EQ(game.read("cstrike_russian\\resource\\GameMenu.res"),
              "\"GameMenu\" { \"ad again\" }");
    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Неизвестно");
    other.endChanges();
    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
}

// Regression: "Удалить" without "Найти" treated nothing, "Найти" after a run found its clean files,
// and nothing brought back what the window deleted. It treats what is ticked, searching first,
// and the driver's undo gives it back from where the system keeps this user's backups; a kind
// unticked after "Найти" is left.
TEST(Win32RoadTest, RemovalTreatsWhatIsTickedAndTheDriversUndoGivesItBack) {
    morvane::test::WideTree game;
    game.write("hl.exe", "launcher");
    const std::string menu = "\"GameMenu\" { \"ad\" }";
    const std::string config = "bind \"F1\" \"say hi\"\r\nname \"Игрок\"\n";
    game.write("cstrike\\resource\\GameMenu.res", menu);
    game.write("cstrike\\config.cfg", config);
    Road road(game.path(), userPlaces());
    ASSERT_NO_FATAL_FAILURE(road.openOptionsWindow());
    click("Check1");
    click("Check9");
    press(form4Layout(), "Image3", "Image4");
    EXPECT_TRUE(ticked(form4Layout(), "Check4") && ticked(form4Layout(), "Check8"))
        << "searched first";
    EXPECT_EQ(game.read("cstrike\\config.cfg"), "(none)");
    EXPECT_EQ(game.read("cstrike\\resource\\GameMenu.res"),
              game.readAbsolute(*road.host.programFolder() + "\\files\\GameMenu.res"));
    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Реклама возможно удалена");
    press(form4Layout(), "Image1", "Image2");
    EXPECT_FALSE(ticked(form4Layout(), "Check4") || ticked(form4Layout(), "Check8"))
        << "nothing left to find";

    const morvane::test::WideTree streams;
    const auto undone =
        morvane::test::runBeside(L"morvane-cli.exe", {"undo", game.path()}, streams);
    EXPECT_EQ(undone.status, 0u) << undone.err;
    EXPECT_EQ(game.read("cstrike\\config.cfg"), config);
    EXPECT_EQ(game.read("cstrike\\resource\\GameMenu.res"), menu);

    press(form4Layout(), "Image1", "Image2");
    EXPECT_TRUE(ticked(form4Layout(), "Check4") && ticked(form4Layout(), "Check8"));
    click("Check9");
    press(form4Layout(), "Image3", "Image4");
    EXPECT_EQ(game.read("cstrike\\config.cfg"), config);
    EXPECT_NE(game.read("cstrike\\resource\\GameMenu.res"), menu);
    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
}

// Regression: the window kept no backup. One that cannot be made stops the run before any change,
// saying why.
TEST(Win32RoadTest, ABackupThatCannotBeMadeStopsTheRunWithItsReason) {
    morvane::test::WideTree game, state;
    game.write("hl.exe", "launcher");
    game.write("cstrike\\config.cfg", "bind \"F1\" \"say hi\"");
    state.write("backups", "a file where the backups' folder should be");
    Road road(game.path(), {{}, state.path("backups")});
    ASSERT_NO_FATAL_FAILURE(road.openOptionsWindow());
    click("Check9");
    press(form4Layout(), "Image3", "Image4");
    expectBackupNotMade(road.script, state.path("backups"));
    EXPECT_EQ(game.read("cstrike\\config.cfg"), "bind \"F1\" \"say hi\"");
    EXPECT_EQ(windowText(control(form4Layout(), "Label2")), "Неизвестно");
    SendMessageW(shown(form4Layout())->hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace morvane::ui::test
