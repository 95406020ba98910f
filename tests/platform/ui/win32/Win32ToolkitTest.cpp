// The desktop services of the Win32 toolkit: the real message box and folder dialog (answered by a
// timer on the test's thread), the path test, posting, quit, texts and colours, and the script
// that stands in for the dialogs.
#include <windows.h>

#include <commctrl.h>

#include "platform/host/win32/LongPath.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"
#include "tests/support/WideTree.h"

namespace morvane::ui::test {
namespace {

using morvane::win32::wide;
using ::testing::ElementsAre;

// The dialog box of this thread that is shown, if any.
HWND shownDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) {
            wchar_t className[16];
            GetClassNameW(hwnd, className, 16);
            if (IsWindowVisible(hwnd) && std::wstring_view(className) == L"#32770")
                *reinterpret_cast<HWND*>(result) = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Runs `act` on the dialog box that `open` shows, from within its modal loop, and returns what
// `open` returned. `act` answers false while the dialog is not ready for it yet. Fails the test
// instead of waiting when no dialog shows up.
template <typename Open>
auto withModal(std::function<bool(HWND)> act, Open open) {
    static std::function<bool(HWND)>* pending;
    static int tries;
    pending = &act;
    tries = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = shownDialog();
        if (dialog != nullptr && (*pending)(dialog)) {
            KillTimer(nullptr, id);
        } else if (++tries > 250) {
            KillTimer(nullptr, id);
            ADD_FAILURE() << "no dialog opened, or it never got ready";
            if (dialog != nullptr)
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    auto result = open();
    KillTimer(nullptr, timer);
    return result;
}

std::vector<HWND> childrenOf(HWND parent, const wchar_t* windowClass) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32];
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, windowClass) == 0)
            found.push_back(child);
    }
    return found;
}

using Win32ToolkitServices = Win32Test;

TEST_F(Win32ToolkitServices, MessageBoxesCarryTheirIconTextAndTitleWithOneButtonOwnedByTheWindow) {
    struct Case {
        std::string text, title;
        MessageIcon icon;
        std::string shownTitle;
        const wchar_t* shownIcon;
    };
    const Case cases[] = {
        {"Данная функция в разработке!", "", MessageIcon::Information, "Morvane", IDI_INFORMATION},
        {"Файл 'hl.exe' & <не разметка>", "Внимание!", MessageIcon::Exclamation, "Внимание!",
         IDI_EXCLAMATION},
    };
    auto form = toolkit.createWindow(form4Layout(), sink);
    form->show();
    for (const Case& c : cases) {
        withModal(
            [&](HWND box) {
                EXPECT_EQ(windowText(box), c.shownTitle);
                EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), c.text);
                EXPECT_EQ(childrenOf(box, L"Button").size(), 1u);
                EXPECT_EQ(GetWindow(box, GW_OWNER), native(*form).hwnd());
                bool iconShown = false;
                for (HWND picture : childrenOf(box, L"Static")) {
                    iconShown |=
                        reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0)) ==
                        LoadIconW(nullptr, c.shownIcon);
                }
                EXPECT_TRUE(iconShown);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] {
                toolkit.messageBox(c.text, c.title, c.icon);
                return 0;
            });
    }
    form->close();
}

// The start folder is selected as the dialog opens; OK hands it back whole, Cancel gives "". (A
// folder of the drive's root: Wine's dialog does not always find one deep in the profile.)
TEST_F(Win32ToolkitServices, TheFolderDialogOpensOnItsStartFolderAndReturnsTheChoice) {
    const std::wstring name = L"Игры-" + std::to_wstring(GetCurrentProcessId());
    const std::string folder = "C:\\" + morvane::win32::narrow(name);
    ASSERT_TRUE(CreateDirectoryW(wide(folder).c_str(), nullptr));
    auto form = toolkit.createWindow(form3Layout(), sink);
    form->show();
    for (const int answer : {IDOK, IDCANCEL}) {
        const std::string chosen = withModal(
            [answer, &name](HWND dialog) {
                // Once the start folder is selected in the dialog's tree.
                HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
                wchar_t text[64] = L"";
                TVITEMW item{};
                item.mask = TVIF_TEXT;
                item.hItem = TreeView_GetSelection(tree);
                item.pszText = text;
                item.cchTextMax = 64;
                if (item.hItem == nullptr || !TreeView_GetItem(tree, &item) || text != name)
                    return false;
                PostMessageW(dialog, WM_COMMAND, answer, 0);
                return true;
            },
            [&] {
                return toolkit.browseFolder(*form, "Выберите директорию с Counter Strike", folder);
            });
        EXPECT_EQ(chosen, answer == IDOK ? folder : "");
    }
    form->close();
    RemoveDirectoryW(wide(folder).c_str());
}

TEST_F(Win32ToolkitServices, PathExistsForFilesAndFoldersOfAnyNameAndLength) {
    morvane::test::WideTree games;
    games.write("hl.exe", "");
    games.makeDir("folder\\hl.exe");
    games.write("Игры\\hl.exe", "");
    std::string deep = std::string(40, 'd');
    while (games.path(deep).size() < 300)
        deep += "\\" + std::string(40, 'd');
    games.write(deep + "\\hl.exe", "");
    const std::pair<std::string, bool> cases[] = {
        {games.path("hl.exe"), true},           {games.path("folder\\hl.exe"), true},
        {games.path() + "\\\\hl.exe", true},  // a root folder's doubled separator
        {games.path("HL.EXE"), true},         // names are not told apart by case here
        {games.path("Игры\\hl.exe"), true},     {games.path(deep + "\\hl.exe"), true},
        {games.path("missing\\hl.exe"), false}, {"", false},
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(toolkit.pathExists(path), exists) << path;
}

TEST_F(Win32ToolkitServices, PostedTasksRunOnceTheCurrentEventIsDone) {
    std::vector<int> order;
    toolkit.post([&order] { order.push_back(2); });
    order.push_back(1);
    toolkit.processPending();
    EXPECT_THAT(order, ElementsAre(1, 2));
}

TEST_F(Win32ToolkitServices, QuitClosesEveryWindowWithoutUnloadAndLeavesTheLoop) {
    auto form3 = toolkit.createWindow(form3Layout(), sink);
    auto form4 = toolkit.createWindow(form4Layout(), sink);  // hidden, as the browse loop makes it
    form3->show();
    toolkit.post([this] { toolkit.quit(); });
    // A guard, not a wait: the loop must end by itself long before it.
    const UINT_PTR guard =
        SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
    EXPECT_EQ(toolkit.run(), 0) << "quit did not leave the loop";
    KillTimer(nullptr, guard);
    EXPECT_FALSE(IsWindowVisible(native(*form3).hwnd()));
    EXPECT_FALSE(IsWindowVisible(native(*form4).hwnd()));
    EXPECT_THAT(sink.controlsWith(Event::Unload), ::testing::IsEmpty());
}

TEST_F(Win32ToolkitServices, WindowTextsColoursAndUnderline) {
    auto window = toolkit.createWindow(form4Layout(), sink);
    const std::string folder = "C:\\Игры\\<b>Counter Strike</b> & co";
    window->setText("Label1", folder);
    EXPECT_EQ(window->text("Label1"), folder);
    window->setTextColor("Label2", {255, 0, 0});
    HWND label = hwndOf(*window, "Label2");
    HDC dc = GetDC(label);
    SendMessageW(native(*window).hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    ReleaseDC(label, dc);
    auto underlined = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font.lfUnderline != 0;
    };
    window->setUnderline("Label2", true);
    EXPECT_TRUE(underlined());
    window->setUnderline("Label2", false);
    EXPECT_FALSE(underlined());
    EXPECT_THROW(window->setValue("Check1", 3), std::invalid_argument);
    EXPECT_THROW(window->value("Label2"), std::invalid_argument);
    EXPECT_THROW(window->text("Image1"), std::invalid_argument);
    EXPECT_THROW(window->setVisible("Image9", true), std::invalid_argument);
}

TEST_F(Win32ToolkitServices, AScriptAnswersInsteadOfTheDialogs) {
    DialogScript script;
    script.folders.push_back("C:\\Games\\Counter-Strike");
    toolkit.useScript(&script);
    auto form = toolkit.createWindow(form3Layout(), sink);
    toolkit.messageBox("Внимание", "", MessageIcon::Exclamation);
    EXPECT_EQ(toolkit.browseFolder(*form, "title", "c:\\"), "C:\\Games\\Counter-Strike");
    EXPECT_EQ(toolkit.browseFolder(*form, "title", ""), "") << "none left: cancel";
    toolkit.openUrl("https://www.example.org/");
    toolkit.quit();
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_THAT(script.browseStarts, ElementsAre("c:\\", ""));
    EXPECT_THAT(script.openedUrls, ElementsAre("https://www.example.org/"));
    EXPECT_EQ(script.quitRequests, 1);
    EXPECT_TRUE(toolkit.processPending()) << "a scripted quit leaves the loop running";
}

}  // namespace
}  // namespace morvane::ui::test
