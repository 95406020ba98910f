#include "platform/host/PendingFolders.h"

#include <atomic>
#include <iterator>
#include <thread>

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

std::optional<std::uint64_t> sumFolders(
    std::string first, unsigned workers,
    const std::function<std::unique_ptr<FolderReader>()>& makeReader) {
    PendingFolders pending(std::move(first));
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        try {
            const std::unique_ptr<FolderReader> reader = makeReader();
            std::vector<std::string> found;
            std::string folder;
            std::uint64_t sum = 0;
            while (pending.take(folder)) {
                sum += reader->read(folder, found);
                pending.finish(found);
            }
            total += sum;
        } catch (...) {
            failed = true;
            pending.abandon();
        }
    };
    {
        std::vector<std::jthread> helpers;
        try {
            for (unsigned i = 1; i < workers; ++i)
                helpers.emplace_back(work);
        } catch (...) {
            // No further thread to be had: the threads already started, and this one, do it all.
        }
        work();
    }
    if (failed)
        return std::nullopt;
    return total.load();
}

}  // namespace morvane
