// The windowed program started for real where no display can be opened.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/app/ProgramOptionCases.h"
#include "tests/support/TempTree.h"

namespace {

struct Outcome {
    int status;
    std::string output;  // stdout and stderr together
};

// Runs the program with no display in its environment but those that `displays` sets.
Outcome runProgram(const std::string& displays) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + displays +
                                " '" MORVANE_PROGRAM "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), output};
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
    const std::pair<std::string, std::string> cases[] = {
        {"DISPLAY=" + display, "morvane: cannot open the display " + display + ";"},
        {"", "morvane: no display to show the windows on;"},
    };
    for (const auto& [environment, says] : cases) {
        SCOPED_TRACE(environment);
        const Outcome outcome = runProgram(environment);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(std::ranges::count(outcome.output, '\n'), 1) << outcome.output;
        EXPECT_EQ(outcome.output.rfind(says, 0), 0u) << outcome.output;
        EXPECT_NE(outcome.output.find("morvane-cli"), std::string::npos) << outcome.output;
    }
}

// Regression: --help opened the windows, and any other argument was ignored.
TEST(ProgramStart, TheCommandLineIsAnsweredWithoutAWindow) {
    for (const morvane::test::OptionCase& c : morvane::test::optionCases(MORVANE_VERSION)) {
        SCOPED_TRACE(c.arguments.front());
        const morvane::test::TempTree streams;
        std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" MORVANE_PROGRAM "'";
        for (const std::string& argument : c.arguments)
            command += " '" + argument + "'";
        command += " >'" + streams.path("out") + "' 2>'" + streams.path("err") + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        EXPECT_EQ(streams.read("out"), c.out);
        EXPECT_EQ(streams.read("err"), c.err);
    }
}

}  // namespace
