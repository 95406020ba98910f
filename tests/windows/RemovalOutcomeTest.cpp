// What the options window tells of a removal run beyond its verdict, and how it runs it: off the
// window's thread, waiting for another run on the folder no longer than the driver does.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/undo/Undo.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "tests/support/GameFolder.h"
#include "tests/windows/RecordingToolkit.h"
#include "windows/Form4.h"
#include "windows/Program.h"

namespace morvane::ui::test {
namespace {

using morvane::test::GameFolder;
using morvane::test::kTargets;

constexpr const char* kRefused = "cannot create a temporary file: Permission denied";

// The real host, whose copies can be refused as in a folder the user may not write, and whose
// folder can be held by another run. It writes the runs it begins into the toolkit's journal.
class ObservedHost : public PosixFileHost {
  public:
    explicit ObservedHost(RecordingToolkit& toolkit) : toolkit_(toolkit) {}

    RunStart beginChanges(const std::string& game,
                          std::optional<std::chrono::milliseconds> wait) override {
        toolkit_.journal.push_back("begin run");
        waits.push_back(wait);
        return heldElsewhere ? RunStart::Busy : PosixFileHost::beginChanges(game, wait);
    }
    ChangeResult copyFile(const std::string& source, const std::string& destination) override {
        if (refuseCopies &&
            std::filesystem::exists(std::filesystem::path(destination).parent_path()))
            return ChangeResult::failure(kRefused);
        return PosixFileHost::copyFile(source, destination);
    }

    bool refuseCopies = false;
    bool heldElsewhere = false;
    std::vector<std::optional<std::chrono::milliseconds>> waits;

  private:
    RecordingToolkit& toolkit_;
};

class RemovalOutcomeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game.putAllAds();
        program.form4().setGameFolder(game.path());
        program.form4().show();
    }
    RecordingWindow& form4() { return toolkit.window("Form4"); }
    // Ticks the options, searches, then removes; the journal and the messages from the removal on.
    std::vector<std::string> searchAndRemove(const std::vector<const char*>& options) {
        for (const char* option : options)
            form4().setValueByUser(option, 1);
        form4().press("Image1", "Image2");
        toolkit.messages.clear();  // the config option's own warning
        const std::size_t from = toolkit.journal.size();
        form4().press("Image3", "Image4");
        return {toolkit.journal.begin() + static_cast<std::ptrdiff_t>(from), toolkit.journal.end()};
    }

    GameFolder game;
    RecordingToolkit toolkit;
    ObservedHost host{toolkit};
    PosixTreeReader reader;
    PosixStateStore store;
    morvane::test::TempTree home;
    Seams seams{host, reader, store, {{}, home.path("backups")}};
    Program program{toolkit, seams};
};

// Regression: a run that could not replace the adverts in a folder the user may not write still
// ended in green "Реклама возможно удалена" with no hint. The files are named below the game
// folder, so that a long path does not wrap mid-name.
TEST_F(RemovalOutcomeTest, FilesThatCouldNotBeTreatedAreNamedWithTheReasonAfterTheVerdict) {
    struct Case {
        const char* name;
        std::vector<const char*> options;
        bool refuseCopies;
        std::vector<std::size_t> named;  // targets, in the run's order
        const char* more;
    };
    const Case cases[] = {
        {"all treated", {"Check1", "Check9"}, false, {}, ""},
        {"replacements refused", {"Check1", "Check3", "Check9"}, true, {0, 1, 8, 9}, ""},
        {"more than ten",
         {"Check1", "Check2", "Check3", "Check9", "Check11", "Check14"},
         true,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         "\nи ещё 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder fresh;
        fresh.putAllAds();
        program.form4().setGameFolder(fresh.path());
        for (const char* option : {"Check1", "Check2", "Check3", "Check9", "Check11", "Check14"})
            form4().setValueByUser(option, 0);
        host.refuseCopies = c.refuseCopies;
        const auto journal = searchAndRemove(c.options);

        EXPECT_EQ(form4().text("Label2"), "Реклама возможно удалена") << "the config is deleted";
        if (c.named.empty()) {
            EXPECT_TRUE(toolkit.messages.empty());
            continue;
        }
        std::string text = "Не удалось обработать файлы:";
        for (std::size_t target : c.named)
            text += "\n" + kTargets[target] + " (copy: " + kRefused + ")";
        ASSERT_EQ(toolkit.messages.size(), 1u);
        EXPECT_EQ(toolkit.messages[0].text, text + c.more);
        EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
        EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(journal.back(), "message " + text + c.more) << "after the verdict";
    }
}

// Regression: a run waited for another one on the same folder as long as that one held it.
TEST_F(RemovalOutcomeTest, AFolderHeldByAnotherRunPastTheDriversWaitIsNamedAndNothingChanges) {
    host.heldElsewhere = true;
    const auto before = game.snapshot();
    const auto journal = searchAndRemove({"Check1", "Check9"});
    EXPECT_EQ(host.waits,
              (std::vector<std::optional<std::chrono::milliseconds>>{std::chrono::seconds(10)}));
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text,
              "Папка игры занята другой программой. Закройте её и попробуйте снова.");
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(game.snapshot(), before);
    EXPECT_EQ(form4().text("Label2"), "Неизвестно");
}

// Regression: the window kept no backup, so that nothing brought back the config files and the
// adverts' files it deleted or replaced, where the driver's clean keeps one that undo gives back.
TEST_F(RemovalOutcomeTest, TheRunIsBackedUpFirstAndStopsWithNothingChangedWhenItCannotBe) {
    const auto before = game.snapshot();
    home.write("backups", "a file where the backups' folder should be");
    searchAndRemove({"Check1", "Check9"});
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_EQ(toolkit.messages[0].text,
              "Не удалось сделать резервную копию, поэтому ничего не изменено.\n"
              "Не удалось создать для неё папку: " +
                  home.path("backups") + ": not a folder");
    EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
    EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(game.snapshot(), before);
    EXPECT_EQ(form4().text("Label2"), "Неизвестно");

    std::filesystem::remove(home.path("backups"));
    toolkit.messages.clear();
    form4().press("Image3", "Image4");
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_FALSE(game.exists(morvane::test::target(Slot::configPath)));
    EXPECT_NE(game.read(Slot::gameMenuPath), GameFolder::adContent(Slot::gameMenuPath));
    const undo::Result undone = undo::run(seams, {game.path(), std::nullopt, false, 0});
    EXPECT_EQ(undone.stop, undo::Stop::None);
    EXPECT_FALSE(undone.anyFailed());
    EXPECT_EQ(game.snapshot(), before) << "every byte and mode given back";
}

// Regression: the run held the window's thread, which neither painted nor showed it was busy.
TEST_F(RemovalOutcomeTest, TheRunGoesOnWhileTheWindowIsBusyAfterItShowsTheResetLook) {
    const auto journal = searchAndRemove({"Check1"});
    const auto at = [&journal](const std::string& entry) {
        return std::find(journal.begin(), journal.end(), entry) - journal.begin();
    };
    EXPECT_LT(at("text Form4.Label2=Неизвестно"), at("busy"));
    EXPECT_LT(at("busy"), at("begin run"));
    EXPECT_LT(at("begin run"), at("idle"));
    EXPECT_LT(at("idle"), at("text Form4.Label2=Реклама возможно удалена"));
    EXPECT_LT(at("text Form4.Label2=Реклама возможно удалена"),
              static_cast<std::ptrdiff_t>(journal.size()));
}

}  // namespace
}  // namespace morvane::ui::test
