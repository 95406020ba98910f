// The driver in the reader's language: Russian under a Russian locale, English under C, and what
// programs read (JSON, exit statuses, backups) the same in both.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "cli/Help.h"
#include "platform/Translate.h"
#include "tests/cli/CliRun.h"

namespace morvane {
namespace {

using test::Outcome;

// The locale as a login session sets it: only the variables given.
test::RunSettings locale(const std::map<std::string, std::string>& variables) {
    test::RunSettings settings;
    settings.set = variables;
    for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_CTYPE"}) {
        if (!variables.contains(name))
            settings.unset.emplace_back(name);
    }
    return settings;
}

const std::map<std::string, std::string> kRussian{{"LANG", "ru_RU.UTF-8"}};
const std::map<std::string, std::string> kEnglish{{"LANG", "C"}};

// What the driver says, worded in `language` ("" for English) by this process.
std::string worded(const std::string& language, const std::function<std::string()>& text) {
    i18n::useLanguage({language});
    const std::string out = text();
    i18n::useLanguage({});
    return out;
}

std::string refusal(const std::string& language, const char* message) {
    return worded(language, [message] {
        return "morvane-cli: " + i18n::tr(message) + "\n" + cli::usageText();
    });
}

TEST(Language, TheDriverSpeaksTheLocalesLanguage) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> args;
        std::string language;  // of the expected texts
        int exit;
        bool help;  // else a refusal: no folder given
    };
    const Case cases[] = {
        {kRussian, {"--help"}, "ru", 0, true},
        {kRussian, {"clean"}, "ru", 2, false},
        {kEnglish, {"--help"}, "", 0, true},
        {kEnglish, {"clean"}, "", 2, false},
        {{}, {"clean"}, "", 2, false},
        {{{"LANG", "de_DE.UTF-8"}}, {"clean"}, "", 2, false},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "de:ru"}}, {"--help"}, "ru", 0, true},
        {{{"LANG", "C"}, {"LANGUAGE", "ru"}}, {"--help"}, "", 0, true},
        {{{"LC_ALL", "C"}, {"LANG", "ru_RU.UTF-8"}}, {"clean"}, "", 2, false},
        {{{"LANG", "ru_RU.KOI8-R"}}, {"clean"}, "", 2, false},
    };
    const std::string russianHelp = worded("ru", cli::helpText);
    ASSERT_NE(russianHelp, cli::helpText());
    for (const Case& c : cases) {
        std::string shown = c.args[0];
        for (const auto& [name, value] : c.environment)
            shown += " " + name + "=" + value;
        const Outcome outcome = test::runProgram(MORVANE_CLI, c.args, locale(c.environment));
        EXPECT_EQ(outcome.exit, c.exit) << shown;
        if (c.help) {
            EXPECT_EQ(outcome.out, worded(c.language, cli::helpText)) << shown;
        } else {
            EXPECT_EQ(outcome.err, refusal(c.language, "no folder given")) << shown;
        }
    }
}

// A demo game folder in a temporary tree, with the driver's environment in the locale given.
struct Scene {
    explicit Scene(const std::map<std::string, std::string>& language)
        : game(tree.path("game")), settings(locale(language)) {
        test::makeDemo(game);
        settings.set["HOME"] = tree.path("home");
        settings.set["XDG_STATE_HOME"] = tree.path("state");
    }

    // The driver run with `args` ("GAME" standing for the game folder), the folder's path in what
    // it says written "GAME", the temporary tree's "TREE", and a backup's id, the time it was made,
    // "ID".
    Outcome run(const std::vector<std::string>& args) const {
        std::vector<std::string> with;
        for (const std::string& arg : args)
            with.push_back(arg == "GAME" ? game : arg);
        Outcome outcome = test::runProgram(MORVANE_CLI, with, settings);
        for (std::string* text : {&outcome.out, &outcome.err}) {
            for (const auto& [path, name] : {std::pair{game, "GAME"}, {tree.path(""), "TREE/"}}) {
                for (auto at = text->find(path); at != std::string::npos; at = text->find(path))
                    text->replace(at, path.size(), name);
            }
            *text = std::regex_replace(*text, std::regex("[0-9]{8}T[0-9]{6}Z(-[0-9]{3})?"), "ID");
        }
        return outcome;
    }

    // Every backup's manifest, without what the time and place it was made change: its time, the
    // game folder's path, the id of a backup an undo took back (a time), and its hash.
    std::vector<std::string> manifests() const {
        std::vector<std::string> all;
        const std::filesystem::path state = tree.path("state");
        if (!std::filesystem::exists(state))
            return all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(state)) {
            if (entry.path().filename() != "backup")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string kept;
            for (std::string line; std::getline(in, line) && !line.starts_with("sha256 ");) {
                for (const char* field : {"time ", "game ", "by undo"})
                    line = line.starts_with(field) ? field : line;
                kept += line + "\n";
            }
            all.push_back(kept);
        }
        std::sort(all.begin(), all.end());
        return all;
    }

    test::TempTree tree;
    std::string game;
    test::RunSettings settings;
};

// What programs read is the same whatever the reader's language, reasons and all: the JSON
// reports, the exit statuses and the backups' manifests; the reports for people differ.
TEST(Language, JsonExitStatusesAndBackupsAreTheSameInEveryLanguage) {
    using Setup =
        std::function<void(const Scene&, std::vector<std::unique_ptr<test::Unwritable>>&)>;
    struct Case {
        const char* name;
        std::vector<std::string> args;  // "GAME" stands for the game folder
        bool json = true;               // else only the exit status and the backups count
        Setup setup = [](const Scene&, auto&) {};
    };
    // A Steam library list that cannot be read, beside a library that holds the game.
    const auto steam = [](const Scene& s, auto&) {
        s.tree.write("home/.steam/steam/steamapps/libraryfolders.vdf",
                     "\"libraryfolders\" { \"0\" { \"path\" ");
        std::filesystem::create_directories(s.tree.path("home/.steam/steam/steamapps/common"));
        std::filesystem::create_directory_symlink(
            s.game, s.tree.path("home/.steam/steam/steamapps/common/Half-Life"));
    };
    const Case cases[] = {
        {"search", {"search", "GAME", "--json"}},
        {"a scan with findings and a file it cannot read",
         {"scan", "GAME", "--json"},
         true,
         [](const Scene& s, auto&) { ::mkfifo((s.game + "/cstrike/joystick.cfg").c_str(), 0644); }},
        {"a clean that cannot treat some files",
         {"clean", "GAME", "all", "--json", "--no-backup"},
         true,
         [](const Scene& s, auto& locks) {
             locks.push_back(std::make_unique<test::Unwritable>(s.game + "/cstrike/resource"));
         }},
        {"a clean keeping the settings, backed up",
         {"clean", "GAME", "all", "--keep-settings", "--json"}},
        {"a clean that stops", {"clean", "--all-found", "all", "--json"}, true, steam},
        {"find", {"find", "--json"}, true, steam},
        {"protect", {"protect", "GAME"}, false},
        {"undo",
         {"undo", "GAME"},
         false,
         [](const Scene& s, auto&) {
             s.run({"clean", "GAME", "all", "--keep-settings"});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome runs[2];
        std::vector<std::string> manifests[2];
        for (int english = 0; english < 2; ++english) {
            const Scene scene(english ? kEnglish : kRussian);
            std::vector<std::unique_ptr<test::Unwritable>> locks;
            c.setup(scene, locks);
            runs[english] = scene.run(c.args);
            manifests[english] = scene.manifests();
            if (!locks.empty() && locks.front()->held()) {
                EXPECT_NE(runs[english].out.find("\"action\":\"failed\""), std::string::npos)
                    << runs[english].out;
            }
        }
        EXPECT_NE(runs[0].out, "");
        if (c.json) {
            EXPECT_EQ(runs[0].out, runs[1].out);
        } else {
            EXPECT_NE(runs[0].out, runs[1].out) << "a report for people, in its reader's language";
        }
        if (!runs[1].err.empty()) {
            EXPECT_NE(runs[0].err, runs[1].err)
                << "what it says on standard error, in each language";
        }
        EXPECT_EQ(runs[0].exit, runs[1].exit);
        EXPECT_EQ(manifests[0], manifests[1]);
    }
}

// A clean's report and a scan's findings in the reader's language; in English under the C locale.
TEST(Language, ReportsAreInTheReadersLanguage) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> russian;  // lines or parts of them, under a Russian locale
        std::vector<std::string> english;  // the same under the C locale
    };
    const Case cases[] = {
        {{"clean", "GAME", "menu", "config", "--no-backup"},
         {"menu: найдено\n", "loading: не искали\n",
          "GAME/cstrike/resource/GameMenu.res: заменён\n", "GAME/cstrike/config.cfg: удалён\n",
          "Реклама возможно удалена\n"},
         {"menu: found\n", "loading: not searched\n",
          "GAME/cstrike/resource/GameMenu.res: replaced\n", "GAME/cstrike/config.cfg: deleted\n",
          "Advertising possibly removed\n"}},
        {{"scan", "GAME"},
         {": прописано: bind-say: клавиша назначена на то, чтобы написать в чат адрес сервера или "
          "сайта\n",
          ": подозрительно: own-unreached-alias: alias, который подключает к серверу",
          "cl_filterstuffcmd: cstrike выключен, cstrike_russian выключен\n",
          " прописанных элементов и 4 подозрительных\n", "итого в GAME: "},
         {": planted: bind-say: a key bound to say a server or web address\n",
          ": suspect: own-unreached-alias: an alias that connects or spreads an address",
          "cl_filterstuffcmd: cstrike off, cstrike_russian off\n",
          " planted things and 4 suspect ones found in GAME\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const Outcome russian = Scene(kRussian).run(c.args);
        const Outcome english = Scene(kEnglish).run(c.args);
        for (const std::string& part : c.russian)
            EXPECT_NE(russian.out.find(part), std::string::npos) << part << "\nin:\n"
                                                                 << russian.out;
        for (const std::string& part : c.english)
            EXPECT_NE(english.out.find(part), std::string::npos) << part << "\nin:\n"
                                                                 << english.out;
        EXPECT_EQ(russian.exit, english.exit);
    }
}

}  // namespace
}  // namespace morvane
