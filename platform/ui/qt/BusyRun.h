#pragma once

#include <functional>

namespace morvane::ui::busy {

// Runs `work` on a thread of its own while the application's loop goes on without the user's
// input and with the busy pointer; returns once it has ended, passing on what it threw.
void run(const std::function<void()>& work);

}  // namespace morvane::ui::busy
