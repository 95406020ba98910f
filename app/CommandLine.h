#pragma once

#include <string>
#include <vector>

namespace morvane::app {

// What the windowed program is asked on its command line. It takes no other: the windows keep no
// settings, and morvane-cli is the program for a terminal.
enum class Asked {
    Windows,  // nothing: the windows
    Help,     // --help: the usage, on standard output
    Version,  // --version: the version, on standard output
    Unknown,  // anything else: the usage on standard error, exit status 2
};

struct CommandLine {
    Asked asked = Asked::Windows;
    std::string complaint;  // for Unknown: the first line, naming what was not understood
};

// The arguments after the program's name.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

// The usage: what the program is, its options, and that morvane-cli does the same from a terminal.
std::string usage();

// The exit statuses.
inline constexpr int kDone = 0;
inline constexpr int kBadUsage = 2;

}  // namespace morvane::app
