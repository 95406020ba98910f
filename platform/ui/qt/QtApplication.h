#pragma once

#include <QApplication>
#include <functional>
#include <memory>
#include <string>

namespace morvane::ui {

// Why Qt could not start, as Qt and the display said it.
struct StartFailure {
    enum class Cause {
        NoDisplay,       // nothing answered at the display Qt tried
        DisplayRefused,  // the display answered, and refused the connection
        NoPlugin,        // no platform plugin of the name asked for: missing, or unknown
        PluginFailed,    // the platform plugin was there but could not be started
        Other,           // anything else Qt gave up on
    };
    Cause cause = Cause::Other;
    std::string display;  // the display Qt tried, as it named it; may be empty
    std::string plugin;   // for NoPlugin and PluginFailed: the plugin's name
    std::string reason;   // what Qt, or the display, said, on one line
};

// Creates the application, which connects to the display. When Qt cannot start, it would abort
// the process with advice meant for a broken installation, and a display's refusal would come as
// a line of its own; instead the one line `failureLine` makes of the cause is written to stderr
// as the only output and the process exits with status 1 at once. Qt's own messages, and what
// else was written to stderr, from a successful start are passed on as usual.
std::unique_ptr<QApplication> openApplication(
    int& argc, char** argv, std::function<std::string(const StartFailure&)> failureLine);

}  // namespace morvane::ui
