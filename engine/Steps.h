#pragma once

#include <cstddef>

namespace morvane {

// The engine's single failure policy: every host operation is one step, and a step that fails is
// skipped silently while the run goes on with the next one. Callers pass each step's outcome here
// instead of testing it, so the policy stays in one place and the counts stay observable.
class Steps {
  public:
    void attempt(bool succeeded) {
        ++attempted_;
        if (!succeeded)
            ++failed_;
    }
    std::size_t attempted() const { return attempted_; }
    std::size_t failed() const { return failed_; }

  private:
    std::size_t attempted_ = 0;
    std::size_t failed_ = 0;
};

}  // namespace morvane
