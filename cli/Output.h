#pragma once

#include <string>
#include <string_view>

#include "cli/Text.h"

namespace morvane::cli {

// Standard output and standard error, written straight to the system with every failure kept: a
// report that did not get out whole must not end in success. One implementation per system
// (posix/, win32/).
class Output {
  public:
    // Notes which of the three standard streams are closed. On POSIX systems /dev/null is parked
    // on them, so that no file the run opens takes their number and receives the report.
    Output();

    void out(std::string_view text) { write(1, text); }
    void err(std::string_view text) { write(2, text); }
    // One line on standard error, after the program's name: every complaint of the driver's. What
    // the message quotes is shown printable, so that it stays one line.
    void problem(std::string_view message) { err("morvane-cli: " + printable(message) + "\n"); }

    // Whether anything failed to be written, or went to a descriptor that was closed.
    bool failed() const { return failed_; }

  private:
    void write(int fd, std::string_view text);

    bool closed_[3] = {};
    bool failed_ = false;
};

}  // namespace morvane::cli
