// The folder browser's title and its memory of the start folder.
#include <gtest/gtest.h>

#include <vector>

#include "Module1.h"

namespace morvane::ui {
namespace {

struct NoWindow final : Window {
    void show() override {}
    void close() override {}
    void setVisible(std::string_view, bool) override {}
    bool isVisible(std::string_view) const override { return false; }
    int value(std::string_view) const override { return 0; }
    void setValue(std::string_view, int) override {}
    std::string text(std::string_view) const override { return {}; }
    void setText(std::string_view, const std::string&) override {}
    void setTextColor(std::string_view, Rgb) override {}
    void setUnderline(std::string_view, bool) override {}
};

// Records every folder dialog and answers with the next of its answers.
struct DialogRecorder final : Toolkit {
    struct Call {
        const Window* owner;
        std::string title, start;
    };
    std::vector<Call> calls;
    std::vector<std::string> answers;

    std::string browseFolder(Window& owner, const std::string& title,
                             const std::string& start) override {
        calls.push_back({&owner, title, start});
        return calls.size() <= answers.size() ? answers[calls.size() - 1] : std::string{};
    }
    std::unique_ptr<Window> createWindow(const WindowLayout&, EventSink&) override {
        return nullptr;
    }
    void messageBox(const std::string&, const std::string&, MessageIcon) override {}
    bool pathExists(const std::string&) override { return false; }
    void openUrl(const std::string&) override {}
    void post(std::function<void()>) override {}
    void quit() override {}
};

TEST(Module1, ShowsTheDialogWithItsTitleOwnerAndStartFolderAndReturnsTheAnswer) {
    DialogRecorder toolkit;
    toolkit.answers = {"C:\\Games\\Counter Strike", "", "C:\\"};
    NoWindow owner;
    Module1 module1;
    EXPECT_EQ(module1.BrowseFolder(toolkit, owner, "c:\\"), "C:\\Games\\Counter Strike");
    EXPECT_EQ(module1.BrowseFolder(toolkit, owner, "c:\\"), "") << "cancel";
    EXPECT_EQ(module1.BrowseFolder(toolkit, owner, "c:\\"), "C:\\") << "a root as given";
    ASSERT_EQ(toolkit.calls.size(), 3u);
    EXPECT_EQ(toolkit.calls[0].owner, &owner);
    EXPECT_EQ(toolkit.calls[0].title, "Выберите директорию с Counter Strike");
    EXPECT_EQ(toolkit.calls[0].start, "c:\\") << "passed in the case it was given";
}

TEST(Module1, RemembersTheLastStartFolderGivenButPassesItOnlyWhenGivenOne) {
    DialogRecorder toolkit;
    NoWindow owner;
    Module1 module1;
    EXPECT_EQ(module1.browseStartFolder(), "");
    module1.BrowseFolder(toolkit, owner, "");
    EXPECT_EQ(module1.browseStartFolder(), "");
    module1.BrowseFolder(toolkit, owner, "d:\\games");
    module1.BrowseFolder(toolkit, owner, "");
    EXPECT_EQ(module1.browseStartFolder(), "d:\\games") << "an empty start folder keeps it";
    ASSERT_EQ(toolkit.calls.size(), 3u);
    EXPECT_EQ(toolkit.calls[0].start, "");
    EXPECT_EQ(toolkit.calls[1].start, "d:\\games");
    EXPECT_EQ(toolkit.calls[2].start, "") << "no start folder: the dialog's own default";
}

}  // namespace
}  // namespace morvane::ui
