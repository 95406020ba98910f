// The driver in the reader's language: Russian under a Russian locale, English under C, and what
// programs read (JSON, exit statuses) the same in both.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
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

// A report for programs is the same whatever the reader's language, reasons and all; so are the
// exit statuses.
TEST(Language, JsonAndExitStatusesAreTheSameInEveryLanguage) {
    struct Case {
        std::vector<std::string> args;             // "GAME" stands for the game folder
        std::vector<std::string> unwritable = {};  // folders below GAME, for the command
    };
    const Case cases[] = {
        {{"search", "GAME", "--json"}},
        {{"scan", "GAME", "--json"}},
        {{"clean", "GAME", "all", "--json", "--no-backup"}, {"cstrike/resource"}},
        {{"find", "--json"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        Outcome runs[2];
        for (int english = 0; english < 2; ++english) {
            const test::TempTree tree;
            const std::string game = tree.path("game");
            test::makeDemo(game);
            std::vector<std::string> args;
            for (const std::string& arg : c.args)
                args.push_back(arg == "GAME" ? game : arg);
            std::vector<std::unique_ptr<test::Unwritable>> locks;
            for (const std::string& folder : c.unwritable)
                locks.push_back(std::make_unique<test::Unwritable>(game + "/" + folder));
            auto settings = locale(english ? kEnglish : kRussian);
            settings.set["HOME"] = tree.path("home");
            settings.set["XDG_STATE_HOME"] = tree.path("state");
            runs[english] = test::runProgram(MORVANE_CLI, args, settings);
            // The same folder's path in both reports.
            for (std::string* text : {&runs[english].out, &runs[english].err}) {
                for (auto at = text->find(game); at != std::string::npos; at = text->find(game))
                    text->replace(at, game.size(), "GAME");
            }
            if (!c.unwritable.empty() && locks.front()->held()) {
                EXPECT_NE(runs[english].out.find("\"action\":\"failed\""), std::string::npos)
                    << runs[english].out;
            }
        }
        EXPECT_NE(runs[0].out, "");
        EXPECT_EQ(runs[0].out, runs[1].out);
        EXPECT_EQ(runs[0].exit, runs[1].exit);
    }
}

}  // namespace
}  // namespace morvane
