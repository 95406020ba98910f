// The windowed program started for real where no display can be opened, and the display the
// tests start.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "tests/app/ProgramOptionCases.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestDisplay.h"

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

// An authority file with one cookie, which no client of the tests holds: a server started with it
// refuses them all.
std::string unheldCookie(const morvane::test::TempTree& tree) {
    std::string entry{'\x01', '\x00'};  // the local family, 256
    for (const std::string field : {"morvane", "", "MIT-MAGIC-COOKIE-1", "0123456789abcdef"})
        entry += std::string{'\0', static_cast<char>(field.size())} + field;
    tree.write("cookie", entry);
    return tree.path("cookie");
}

// Regression: a display that cannot be opened ended in Qt's abort (status 134) and its advice to
// reinstall; then every failure Qt gave up on read as a display that cannot be opened, and a
// display's refusal came as a second line.
TEST(ProgramStart, AFailedStartSaysWhatFailedInOneLineAndExitsWith1) {
    const std::string display = unservedDisplay();
    const morvane::test::TempTree tree;
    const morvane::test::TestDisplay refusing({"-auth", unheldCookie(tree)});
    ASSERT_TRUE(refusing.serving()) << refusing.error();
    const std::string served = refusing.name();
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"DISPLAY", display}}, "morvane: cannot open the display " + display + ";"},
        {{}, "morvane: no display to show the windows on;"},
        {{{"DISPLAY", served}, {"XAUTHORITY", tree.path("none")}},
         "morvane: the display " + served +
             " refuses the connection (Authorization required, but no authorization protocol "
             "specified);"},
        {{{"DISPLAY", served}, {"QT_QPA_PLATFORM", "bogus"}},
         "morvane: the Qt platform plugin \"bogus\" cannot be found (Could not find the Qt "
         "platform plugin \"bogus\""},
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

// Regression: the tests' display reset whenever its last client left, and dropped a client that
// came meanwhile: a program started right after another one ended could fail to connect.
TEST(ProgramStart, TheTestsDisplayKeepsServingBetweenClients) {
    const morvane::test::TestDisplay display;
    ASSERT_TRUE(display.serving()) << display.error();
    const auto made = display.atom("MORVANE_KEPT", true);
    ASSERT_TRUE(made.has_value());
    EXPECT_NE(*made, 0u);
    // Time for the server to see the last client go (not a measure: a reset forgets every atom).
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(display.atom("MORVANE_KEPT", false), made);
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
