// The windowed program's command line on Windows, run for real beside this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/app/ProgramOptionCases.h"
#include "tests/support/Win32ProgramRun.h"

namespace {

// Regression: the program took no option at all and opened its windows whatever it was given.
TEST(ProgramStart, TheCommandLineIsAnsweredWithoutAWindow) {
    for (const morvane::test::OptionCase& c : morvane::test::optionCases(MORVANE_VERSION)) {
        SCOPED_TRACE(c.arguments.front());
        const morvane::test::WideTree streams;
        const auto outcome = morvane::test::runBeside(L"morvane.exe", c.arguments, streams);
        EXPECT_EQ(outcome.status, static_cast<DWORD>(c.status));
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, c.err);
    }
}

}  // namespace
