#pragma once

#include <string>
#include <vector>

namespace morvane::test {

// The windowed program's command line, as both programs answer it without opening a window.
struct OptionCase {
    std::vector<std::string> arguments;
    int status;
    std::string out;  // standard output, whole
    std::string err;  // standard error, whole
};

inline const std::string kUsage =
    "Usage: morvane [--help | --version]\n"
    "Removes server advertising from a Counter-Strike 1.6 installation, in four windows.\n"
    "  --help     print this usage and end\n"
    "  --version  print the version and end\n"
    "morvane-cli does the same cleaning from a terminal (morvane-cli --help).\n";

inline std::vector<OptionCase> optionCases(const std::string& version) {
    return {
        {{"--help"}, 0, kUsage, ""},
        {{"--version"}, 0, "morvane " + version + "\n", ""},
        {{"--verbose"}, 2, "", "morvane: unknown option --verbose\n" + kUsage},
        {{"--help", "--version"}, 2, "", "morvane: unknown option --version\n" + kUsage},
        {{"/games/cs"}, 2, "", "morvane: unexpected argument /games/cs\n" + kUsage},
    };
}

}  // namespace morvane::test
