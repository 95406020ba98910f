// morvane: the four windows that lead from the start window to the removal verdict.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PosixFileHost.h"
#include "Program.h"
#include "QtToolkit.h"

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display Qt gives up deep inside its platform plugin with a message that does not
// tell the user what to do.
bool noDisplay() {
#ifdef __linux__
    return !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    // The windows take no command line; only a packager's or a user's question for the version
    // is answered, without a display. Any other argument is ignored, as it always was.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const bool written = std::fputs("morvane " MORVANE_VERSION "\n", stdout) >= 0;
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (noDisplay()) {
        std::fputs(
            "morvane: no display to show the windows on; start it in a desktop session, or use "
            "morvane-cli for the same cleaning from a terminal\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    morvane::ui::QtToolkit toolkit;
    morvane::PosixFileHost host;
    morvane::ui::Program program(toolkit, host);
    program.start();
    return QApplication::exec();
}
