#include "PendingFolders.h"

#include <iterator>

namespace morvane {

PendingFolders::PendingFolders(std::string first) {
    waiting_.push_back(std::move(first));
}

bool PendingFolders::take(std::string& folder) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return over_ || !waiting_.empty() || reading_ == 0; });
    if (over_ || waiting_.empty()) {
        over_ = true;
        changed_.notify_all();
        return false;
    }
    folder = std::move(waiting_.back());
    waiting_.pop_back();
    ++reading_;
    return true;
}

void PendingFolders::finish(std::vector<std::string>& found) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        waiting_.insert(waiting_.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
        --reading_;
        // Idle threads wait for new folders, or to see that the walk is over.
        wake = !found.empty() || reading_ == 0;
    }
    if (wake)
        changed_.notify_all();
    found.clear();
}

void PendingFolders::abandon() {
    const std::lock_guard lock(mutex_);
    over_ = true;
    changed_.notify_all();
}

}  // namespace morvane
