#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The folders of a tree walk still to be read, shared by the walk's threads. Last in, first out, so
// the walk goes depth first and the waiting set stays near the depth of the tree times its breadth
// at each level, not the size of the tree.
//
// Each thread loops: take() a folder, read it, finish() with the subfolders found there. The walk
// is over when nothing waits and no thread is still reading a folder (whose subfolders could add
// more).
class PendingFolders {
  public:
    explicit PendingFolders(std::string first);

    // Blocks until a folder is waiting (moved into `folder`, true) or the walk is over (false).
    bool take(std::string& folder);

    // Ends the read of the folder last taken by this thread, handing over the subfolders it held.
    // Leaves `found` empty (its capacity is kept for the next folder).
    void finish(std::vector<std::string>& found);

    // Ends the walk early: every take() from now on answers false.
    void abandon();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> waiting_;
    unsigned reading_ = 0;  // folders taken and not yet finished
    bool over_ = false;
};

// One thread's reading of the folders of a walk, each as a whole.
class FolderReader {
  public:
    virtual ~FolderReader() = default;

    // What the folder `folder` (as the walk names it) adds to the total; its subfolders go into
    // `found`. What cannot be read adds nothing.
    virtual std::uint64_t read(const std::string& folder, std::vector<std::string>& found) = 0;
};

// Walks the tree from the folder `first` with `workers` threads, this one among them, each reading
// with a reader of its own from `makeReader`, and sums what the readers give. No value when a
// thread ran out of memory: a total with folders missing would pass for a real one.
std::optional<std::uint64_t> sumFolders(
    std::string first, unsigned workers,
    const std::function<std::unique_ptr<FolderReader>()>& makeReader);

}  // namespace morvane
