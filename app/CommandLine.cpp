#include "app/CommandLine.h"

#include "platform/Translate.h"

namespace morvane::app {

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return {};
    if (arguments.size() == 1 && arguments[0] == "--help")
        return {Asked::Help, {}};
    if (arguments.size() == 1 && arguments[0] == "--version")
        return {Asked::Version, {}};
    // Either of them alone, or the first argument that is neither.
    const bool known = arguments[0] == "--help" || arguments[0] == "--version";
    const std::string& odd = known ? arguments[1] : arguments[0];
    return {Asked::Unknown, "morvane: " +
                                (odd.starts_with('-') ? i18n::tr("unknown option %s", odd)
                                                      : i18n::tr("unexpected argument %s", odd)) +
                                "\n"};
}

std::string usage() {
    using i18n::tr;
    return tr("Usage: morvane [--help | --version]") + "\n" +
           tr("Removes server advertising from a Counter-Strike 1.6 installation, in four "
              "windows.") +
           "\n  --help     " + tr("print this usage and end") + "\n  --version  " +
           tr("print the version and end") + "\n" +
           tr("morvane-cli does the same cleaning from a terminal (morvane-cli --help).") + "\n";
}

}  // namespace morvane::app
