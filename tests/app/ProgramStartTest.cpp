// The windowed program started for real where no display can be opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "tests/app/ProgramOptionCases.h"
#include "tests/support/ProgramRun.h"

namespace {

using morvane::test::Outcome;

// Runs the program with no display in its environment but `display` (when given).
Outcome startWithout(const std::map<std::string, std::string>& display) {
    return morvane::test::runProgram(
        MORVANE_PROGRAM, {},
        {display, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, {}, {}, {}});
}

// A display number that no X server of this machine serves, picked at random.
std::string unservedDisplay() {
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> numbers(1000, 30000);
    for (;;) {
        const std::string number = std::to_string(numbers(random));
        if (!std::filesystem::exists("/tmp/.X11-unix/X" + number) &&
            !std::filesystem::exists("/tmp/.X" + number + "-lock")) {
            return ":" + number;
        }
    }
}

// Regression: a display that cannot be opened ended in Qt's abort (status 134) and its advice to
// reinstall.
TEST(ProgramStart, WithoutADisplayToOpenItSaysSoInOneLineAndExitsWith1) {
    const std::string display = unservedDisplay();
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"DISPLAY", display}}, "morvane: cannot open the display " + display + ";"},
        {{}, "morvane: no display to show the windows on;"},
    };
    for (const auto& [environment, says] : cases) {
        SCOPED_TRACE(says);
        const Outcome outcome = startWithout(environment);
        const std::string output = outcome.out + outcome.err;
        EXPECT_EQ(outcome.exit, 1);
        EXPECT_EQ(std::ranges::count(output, '\n'), 1) << output;
        EXPECT_EQ(outcome.err.rfind(says, 0), 0u) << output;
        EXPECT_NE(output.find("morvane-cli"), std::string::npos) << output;
    }
}

// Regression: --help opened the windows, and any other argument was ignored.
TEST(ProgramStart, TheCommandLineIsAnsweredWithoutAWindow) {
    for (const morvane::test::OptionCase& c : morvane::test::optionCases(MORVANE_VERSION)) {
        SCOPED_TRACE(c.arguments.front());
        const Outcome outcome = morvane::test::runProgram(
            MORVANE_PROGRAM, c.arguments,
            {{}, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, {}, {}, {}});
        EXPECT_EQ(outcome.exit, c.status);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, c.err);
    }
}

}  // namespace
