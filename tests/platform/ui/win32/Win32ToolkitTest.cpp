// The desktop services of the Win32 toolkit beyond the toolkit contract: the real folder dialog
// (answered by a timer on the test's thread) and the path test's Windows names.
#include <windows.h>

#include <commctrl.h>

#include "platform/host/win32/LongPath.h"
#include "tests/platform/ui/win32/Win32TestSupport.h"
#include "tests/support/WideTree.h"

namespace morvane::ui::test {
namespace {

using morvane::win32::wide;

using Win32ToolkitServices = Win32Test;

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

// Beyond the contract: names told apart as the system does, Cyrillic ones, and paths beyond
// MAX_PATH.
TEST_F(Win32ToolkitServices, PathExistsForFilesOfAnyNameAndLength) {
    morvane::test::WideTree games;
    games.write("hl.exe", "");
    games.write("Игры\\hl.exe", "");
    std::string deep = std::string(40, 'd');
    while (games.path(deep).size() < 300)
        deep += "\\" + std::string(40, 'd');
    games.write(deep + "\\hl.exe", "");
    const std::pair<std::string, bool> cases[] = {
        {games.path("HL.EXE"), true},  // names are not told apart by case here
        {games.path("Игры\\hl.exe"), true},
        {games.path(deep + "\\hl.exe"), true},
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(toolkit.pathExists(path), exists) << path;
}

}  // namespace
}  // namespace morvane::ui::test
