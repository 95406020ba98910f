// The desktop services of the Win32 toolkit beyond the toolkit contract: the real folder dialog
// (answered by a timer on the test's thread).
#include <windows.h>

#include <commctrl.h>

#include "tests/platform/ui/win32/Win32TestSupport.h"

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

}  // namespace
}  // namespace morvane::ui::test
