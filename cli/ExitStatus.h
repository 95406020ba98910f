#pragma once

namespace morvane::cli {

// The driver's exit statuses, as its help's table explains them to the user.
enum ExitStatus : int {
    kDone = 0,       // everything asked was done; scan: nothing planted was found
    kNotDone = 1,    // something could not be done, as said on standard error
    kFound = 1,      // scan: something planted was found
    kNoneFound = 1,  // find: no installation was found
    kBadInput = 2,   // nothing was changed; find, scan: something there could not be read
};

}  // namespace morvane::cli
