// morvane: the four windows that lead from the start window to the removal verdict.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "platform/UserPlaces.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "platform/ui/qt/QtApplication.h"
#include "platform/ui/qt/QtToolkit.h"
#include "windows/Program.h"

namespace {

constexpr const char* kElsewhere =
    "; start it in a desktop session, or use morvane-cli for the same cleaning from a terminal";
constexpr const char* kFromATerminal = "; use morvane-cli for the same cleaning from a terminal";

bool print(std::FILE* stream, const std::string& text) {
    return std::fputs(text.c_str(), stream) >= 0 && std::fflush(stream) == 0;
}

// Answers --help, --version and what the program does not take, without a display. Else nothing.
std::optional<int> answerCommandLine(int argc, char** argv) {
    using morvane::app::Asked;
    const auto line = morvane::app::readCommandLine({argv + 1, argv + argc});
    switch (line.asked) {
        case Asked::Help:
            return print(stdout, morvane::app::usage()) ? morvane::app::kDone : 1;
        case Asked::Version:
            return print(stdout, "morvane " MORVANE_VERSION "\n") ? morvane::app::kDone : 1;
        case Asked::Unknown:
            print(stderr, line.complaint + morvane::app::usage());
            return morvane::app::kBadUsage;
        case Asked::Windows:
            break;
    }
    return std::nullopt;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The displays the environment names, as Qt may try them; empty when it names none.
std::string namedDisplays() {
    std::string names = variable("WAYLAND_DISPLAY");
    if (const std::string x11 = variable("DISPLAY"); !x11.empty())
        names += (names.empty() ? "" : " or ") + x11;
    if (const std::string platform = variable("QT_QPA_PLATFORM");
        names.empty() && !platform.empty())
        names = "of the " + platform + " platform";
    return names;
}

// The one line that says why the windows could not be shown; `displays` as the environment names
// them, for a display Qt did not name.
std::string failureLine(const morvane::ui::StartFailure& failure, const std::string& displays) {
    using Cause = morvane::ui::StartFailure::Cause;
    const std::string display = failure.display.empty() ? displays : failure.display;
    switch (failure.cause) {
        case Cause::NoDisplay:
            return "morvane: cannot open the display " + display + kElsewhere;
        case Cause::DisplayRefused:
            return "morvane: the display " + display + " refuses the connection (" +
                   failure.reason + ")" + kElsewhere;
        case Cause::NoPlugin:
            return "morvane: the Qt platform plugin \"" + failure.plugin + "\" cannot be found (" +
                   failure.reason + ")" + kFromATerminal;
        case Cause::PluginFailed:
            return "morvane: the Qt platform plugin \"" + failure.plugin +
                   "\" cannot be started (" + failure.reason + ")" + kFromATerminal;
        case Cause::Other:
            break;
    }
    return "morvane: the windows cannot be shown (" + failure.reason + ")" + kFromATerminal;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answered = answerCommandLine(argc, argv))
        return *answered;
    const std::string displays = namedDisplays();
#ifdef __linux__
    // Without a display Qt gives up deep inside its platform plugin with a message that does not
    // tell the user what to do.
    if (displays.empty()) {
        std::fprintf(stderr, "morvane: no display to show the windows on%s\n", kElsewhere);
        return 1;
    }
#endif
    const auto app = morvane::ui::openApplication(
        argc, argv,
        [&displays](const morvane::ui::StartFailure& f) { return failureLine(f, displays); });
    morvane::ui::QtToolkit toolkit;
    morvane::PosixFileHost host;
    morvane::PosixTreeReader reader;
    morvane::PosixStateStore store;
    morvane::ui::Program program(toolkit, {host, reader, store, morvane::userPlaces()});
    program.start();
    return QApplication::exec();
}
