// morvane: the four windows that lead from the start window to the removal verdict.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "platform/Translate.h"
#include "platform/UserPlaces.h"
#include "platform/host/SystemHost.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "platform/ui/qt/QtApplication.h"
#include "platform/ui/qt/QtToolkit.h"
#include "windows/Program.h"

namespace {

using morvane::i18n::tr;

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
        names = names.empty() ? x11 : tr("%s or %s", names, x11);
    if (const std::string platform = variable("QT_QPA_PLATFORM");
        names.empty() && !platform.empty())
        names = tr("of the %s platform", platform);
    return names;
}

// The one line that says why the windows could not be shown; `displays` as the environment names
// them, for a display Qt did not name.
std::string failureLine(const morvane::ui::StartFailure& failure, const std::string& displays) {
    using Cause = morvane::ui::StartFailure::Cause;
    const std::string display = failure.display.empty() ? displays : failure.display;
    switch (failure.cause) {
        case Cause::NoDisplay:
            return "morvane: " + tr("cannot open the display %s; start it in a desktop session, or "
                                    "use morvane-cli for the same cleaning from a terminal",
                                    display);
        case Cause::DisplayRefused:
            return "morvane: " + tr("the display %s refuses the connection (%s); start it in a "
                                    "desktop session, or use morvane-cli for the same cleaning "
                                    "from a terminal",
                                    display, failure.reason);
        case Cause::NoPlugin:
            return "morvane: " + tr("the Qt platform plugin \"%s\" cannot be found (%s); use "
                                    "morvane-cli for the same cleaning from a terminal",
                                    failure.plugin, failure.reason);
        case Cause::PluginFailed:
            return "morvane: " + tr("the Qt platform plugin \"%s\" cannot be started (%s); use "
                                    "morvane-cli for the same cleaning from a terminal",
                                    failure.plugin, failure.reason);
        case Cause::Other:
            break;
    }
    return "morvane: " + tr("the windows cannot be shown (%s); use morvane-cli for the same "
                            "cleaning from a terminal",
                            failure.reason);
}

}  // namespace

int main(int argc, char** argv) {
    // What it says on a terminal is in the user's language; its windows speak Russian (Program).
    morvane::i18n::useLanguage(morvane::userLanguages());
    if (const auto answered = answerCommandLine(argc, argv))
        return *answered;
    const std::string displays = namedDisplays();
#ifdef __linux__
    // Without a display Qt gives up deep inside its platform plugin with a message that does not
    // tell the user what to do.
    if (displays.empty()) {
        print(stderr, "morvane: " +
                          tr("no display to show the windows on; start it in a desktop session, "
                             "or use morvane-cli for the same cleaning from a terminal") +
                          "\n");
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
