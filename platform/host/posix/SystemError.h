#pragma once

#include <string>

namespace morvane::posix {

// The text for the system error `error` (an errno value) in the program's language, or in
// English: our own wording of the errors a player meets (a file held, a disk full, no right to
// write), else the system's own text.
std::string errorText(int error, bool english = false);

}  // namespace morvane::posix
