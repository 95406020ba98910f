// morvane: the four windows that lead from the start window to the removal verdict.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/UserPlaces.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "platform/ui/qt/QtApplication.h"
#include "platform/ui/qt/QtToolkit.h"
#include "windows/Program.h"

namespace {

constexpr const char* kElsewhere =
    "; start it in a desktop session, or use morvane-cli for the same cleaning from a terminal";

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

}  // namespace

int main(int argc, char** argv) {
    // The windows take no command line; only a packager's or a user's question for the version
    // is answered, without a display. Any other argument is ignored, as it always was.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const bool written = std::fputs("morvane " MORVANE_VERSION "\n", stdout) >= 0;
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
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
        argc, argv, "morvane: cannot open the display " + displays + kElsewhere);
    morvane::ui::QtToolkit toolkit;
    morvane::PosixFileHost host;
    morvane::PosixTreeReader reader;
    morvane::ui::Program program(toolkit, host, {reader, morvane::userPlaces().steamRoots});
    program.start();
    return QApplication::exec();
}
