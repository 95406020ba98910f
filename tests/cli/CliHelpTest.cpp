// The driver's help tables against its parser, and --help / --version as the built program
// answers them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/Options.h"
#include "tests/cli/CliRun.h"

namespace morvane {
namespace {

using cli::parseArguments;
using cli::UsageError;

bool accepted(const std::vector<std::string>& args) {
    return std::holds_alternative<cli::CliOptions>(parseArguments(args));
}

// The help, the manual page and the completion say what the tables say: every command and option
// that the parser's usage line names is in them, and each option is accepted by exactly the
// commands the tables give it.
TEST(CliHelp, TablesMatchWhatTheParserAccepts) {
    std::set<std::string> usageCommands, usageOptions;
    std::istringstream usage(cli::usageText());
    for (std::string word, previous; usage >> word; previous = word) {
        if (previous == "morvane-cli")
            usageCommands.insert(word);
        const auto start = word.find("--");
        if (start != std::string::npos)
            usageOptions.insert(word.substr(start, word.find(']') - start));
    }
    std::set<std::string> documentedCommands, documentedOptions;
    for (const cli::CommandSpec& command : cli::commandTable())
        documentedCommands.emplace(command.name);
    for (const cli::OptionSpec& option : cli::optionTable())
        documentedOptions.emplace(option.name);
    EXPECT_EQ(documentedCommands, usageCommands);
    EXPECT_EQ(documentedOptions, usageOptions);

    for (const cli::CommandSpec& command : cli::commandTable()) {
        SCOPED_TRACE(std::string(command.name));
        // The operands that are not optional, each given a value.
        std::vector<std::string> args{std::string(command.name)};
        std::istringstream operands{std::string(command.operands)};
        for (std::string word; operands >> word;) {
            if (word[0] != '[')
                args.push_back("/games/cs");
        }
        ASSERT_TRUE(accepted(args));
        for (const cli::OptionSpec& option : cli::optionTable()) {
            std::vector<std::string> withOption = args;
            withOption.emplace_back(option.name);
            if (!option.argument.empty())
                withOption.emplace_back("/some/folder");
            EXPECT_EQ(accepted(withOption), cli::takesOption(command.name, option)) << option.name;
        }
    }
}

TEST(CliHelp, TheProgramAnswersHelpAndVersionAndFailsWhenItCannotWrite) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"--help"}, cli::helpText()},
        {{"-h"}, cli::helpText()},
        {{"clean", "/no/such/game", "all", "--help"}, cli::helpText()},
        {{"--version"}, cli::versionText()},
    };
    for (const Case& c : cases) {
        const test::Outcome answered = test::runCli(c.args);
        EXPECT_EQ(answered.exit, 0) << c.args[0];
        EXPECT_EQ(answered.out, c.expected) << c.args[0];
        EXPECT_EQ(answered.err, "") << c.args[0];
    }
    EXPECT_EQ(cli::versionText(), "morvane-cli " MORVANE_VERSION "\n");
    // An answer that could not be written is not given.
    for (const char* asked : {"--help", "--version"})
        EXPECT_EQ(test::runProgram(MORVANE_CLI, {asked}, test::outputTo("/dev/full")).exit, 1)
            << asked;
}

}  // namespace
}  // namespace morvane
