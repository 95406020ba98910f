// What the options window tells of a removal run beyond its verdict, and how it runs it: off the
// window's thread, waiting for another run on the folder no longer than the driver does.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/undo/Undo.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "tests/support/GameFolder.h"
#include "tests/support/Unwritable.h"
#include "tests/windows/RecordingToolkit.h"
#include "windows/Form4.h"
#include "windows/Program.h"

namespace morvane::ui::test {
namespace {

using morvane::test::GameFolder;
using morvane::test::kTargets;

// What the host says when it may not write in the target's folder, and how the windows say it.
Reason refused() {
    return because("cannot create a temporary file").withError(EACCES);
}
constexpr const char* kRefused =
    "копирование: не удаётся создать временный файл: Отказано в доступе";

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
            return ChangeResult::failure(refused());
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
            text += "\n" + kTargets[target] + " (" + kRefused + ")";
        ASSERT_EQ(toolkit.messages.size(), 1u);
        EXPECT_EQ(toolkit.messages[0].text, text + c.more);
        EXPECT_EQ(toolkit.messages[0].title, "Внимание!");
        EXPECT_EQ(toolkit.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(journal.back(), "message " + text + c.more) << "after the verdict";
    }
}

// Regression: the warning named each file with an English reason in the Russian window. Every
// reason it gives is Russian now, as the rest of the window: the operation that failed, core's
// cause, the host's words and the system's error alike, with no English word left beside the
// files' names. Each cause is provoked on a real folder.
TEST_F(RemovalOutcomeTest, EveryReasonInTheWarningIsRussian) {
    namespace fs = std::filesystem;
    // Root is stopped by the immutable attribute, anyone else by the folder's mode.
    const std::string denied = ::geteuid() == 0 ? "Операция не разрешена" : "Отказано в доступе";
    struct Case {
        const char* name;
        const char* option;
        std::string file;  // below the game folder, as the warning names it
        std::string reason;
        // Makes the file fail; false when that cannot be done here.
        std::function<bool(GameFolder&, std::vector<std::unique_ptr<morvane::test::Unwritable>>&)>
            provoke;
    };
    const std::string menu = morvane::test::target(Slot::gameMenuPath);
    const std::string scores = morvane::test::target(Slot::scoreBoardPath);
    const std::string config = morvane::test::target(Slot::configRuPath);
    const std::string leftover = "cstrike/resource/.GameMenu.res.k7q2x9m4.morvane-partial";
    const auto lock = [](GameFolder& g, auto& locks, const std::string& folder) {
        locks.push_back(std::make_unique<morvane::test::Unwritable>(g.path(folder)));
        return locks.back()->held();
    };
    const Case cases[] = {
        {"a folder where the file should be", "Check1", menu, "атрибуты: это папка",
         [&](GameFolder& g, auto&) {
             fs::remove(g.path(menu));
             return fs::create_directory(g.path(menu));
         }},
        {"a read-only file with other hard links", "Check3", scores,
         "атрибуты: у файла есть другие жёсткие ссылки с теми же правами доступа",
         [&](GameFolder& g, auto&) {
             fs::create_hard_link(g.path(scores), g.path("cstrike/scores.res"));
             return ::chmod(g.path(scores).c_str(), 0444) == 0;
         }},
        {"a link on the way", "Check3", scores,
         "атрибуты: UI — ссылка, переход по ней не выполняется",
         [&](GameFolder& g, auto&) {
             fs::rename(g.path("cstrike/resource/UI"), g.path("elsewhere"));
             fs::create_directory_symlink(g.path("elsewhere"), g.path("cstrike/resource/UI"));
             return true;
         }},
        {"not backed up, not being a file", "Check3", scores,
         "атрибуты: нет резервной копии (не обычный файл), поэтому оставлен как есть",
         [&](GameFolder& g, auto&) {
             fs::remove(g.path(scores));
             return ::mkfifo(g.path(scores).c_str(), 0644) == 0;
         }},
        {"not backed up, being too large", "Check3", scores,
         "атрибуты: нет резервной копии (больше 67108864 байт), поэтому оставлен как есть",
         [&](GameFolder& g, auto&) {
             fs::resize_file(g.path(scores), (64u << 20) + 1);
             return true;
         }},
        {"a copy the system refuses", "Check1", menu,
         "копирование: не удаётся создать временный файл: " + denied,
         [&](GameFolder& g, auto& locks) { return lock(g, locks, "cstrike/resource"); }},
        {"a deletion the system refuses", "Check9", config, "удаление: " + denied,
         [&](GameFolder& g, auto& locks) { return lock(g, locks, "cstrike_russian"); }},
        {"a killed run's file that cannot be removed", "Check1", leftover, "удаление: " + denied,
         [&](GameFolder& g, auto& locks) {
             g.write(leftover, "half a copy");
             return lock(g, locks, "cstrike/resource");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder fresh;
        fresh.putAllAds();
        std::vector<std::unique_ptr<morvane::test::Unwritable>> locks;
        if (!c.provoke(fresh, locks)) {
            ADD_FAILURE() << "cannot be provoked here";
            continue;
        }
        program.form4().setGameFolder(fresh.path());
        for (const char* option : {"Check1", "Check2", "Check3", "Check9", "Check11", "Check14"})
            form4().setValueByUser(option, 0);
        searchAndRemove({c.option});
        ASSERT_EQ(toolkit.messages.size(), 1u);
        const std::string& shown = toolkit.messages[0].text;
        EXPECT_NE(shown.find("\n" + c.file + " (" + c.reason + ")"), std::string::npos) << shown;
        // No Latin word in any reason listed, a file's name aside: every one is Russian.
        std::istringstream lines(shown.substr(shown.find('\n') + 1));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t open = line.find(" (");
            ASSERT_NE(open, std::string::npos) << line;
            const std::string reason =
                std::regex_replace(line.substr(open), std::regex("\\bUI\\b"), "");
            EXPECT_FALSE(std::regex_search(reason, std::regex("[A-Za-z]{2,}"))) << line;
        }
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
                  home.path("backups") + ": это не папка");
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
    EXPECT_EQ(undone.stop, Stop::None);
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
