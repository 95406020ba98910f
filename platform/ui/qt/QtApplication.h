#pragma once

#include <QApplication>
#include <memory>
#include <string>

namespace morvane::ui {

// Creates the application, which connects to the display. When Qt cannot open any display it
// would abort the process with advice meant for a broken installation; instead `failureLine` is
// written to stderr as the only output and the process exits with status 1 at once. Qt's own
// messages from a successful start are passed on as usual.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string failureLine);

}  // namespace morvane::ui
