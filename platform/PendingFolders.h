#pragma once

#include <condition_variable>
#include <mutex>
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

}  // namespace morvane
