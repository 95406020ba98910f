#pragma once

#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileHost.h"
#include "platform/host/posix/Fd.h"
#include "platform/host/posix/TempFile.h"

namespace morvane {

// The file operations on a POSIX system.
//  - The fixed relative paths use '/'; the game folder is used as given.
//  - Names are matched exactly, or else ignoring ASCII case when that picks out one entry, one
//    component at a time.
//  - Read-only means no write bit; writable again means the owner's write bit back. A file
//    without the owner's write bit can be neither deleted nor copied onto, whoever runs us.
//  - A run opens the game folder once and reaches every target from that descriptor with
//    openat(O_NOFOLLOW | O_DIRECTORY) per folder; it changes a target only through the descriptor
//    of the folder holding it (unlinkat, renameat) or through a descriptor of the target opened
//    without following a link (mode changes). The run lock is flock on the game folder's
//    descriptor.
//  - Copies are written to a temporary file in the target's folder and renamed into place; links
//    are made under a temporary name and renamed into place too, owned as the folder is.
class PosixFileHost : public FileHost {
  public:
    // Moments of a run at which a test may act: swap a link in, stall, note that a run waits.
    enum class Moment {
        Waiting,   // beginChanges found the lock taken and waits (path: the game folder)
        Reaching,  // a change is about to walk to its target
        Reached,   // the target's folder is open; the change itself comes next
        Writing,   // a copy has written its first stretch to the temporary file
        Renaming,  // a copy's temporary file is named and about to be renamed over the target
    };
    using TestHook = std::function<void(Moment, const std::string& path)>;

    // For tests only: `hook` is called at each Moment. None by default.
    void setTestHook(TestHook hook) { hook_ = std::move(hook); }

    RunStart beginChanges(const std::string& gameFolder,
                          std::optional<std::chrono::milliseconds> wait) override;
    void endChanges() override;
    char separator() const override { return '/'; }
    Lookup lookupFile(const std::string& path) override;
    bool isReadableFile(const std::string& path) override;
    bool sameContent(const std::string& path, const std::string& reference,
                     std::uint64_t limit) override;
    ChangeResult setAttributes(const std::string& path, Attributes value) override;
    ChangeResult setPermissions(const std::string& path, const Permissions& value) override;
    ChangeResult deleteFile(const std::string& path) override;
    ChangeResult copyFile(const std::string& source, const std::string& destination) override;
    ChangeResult createLink(const std::string& path, const std::string& target) override;
    std::vector<Leftover> removeLeftovers(const std::string& folder) override;
    std::optional<std::uint64_t> folderSize(const std::string& folder) override;
    std::optional<std::string> programFolder() override;

  private:
    // The target of a change: the open folder that holds it and its name there, or why it
    // cannot be reached.
    struct Target {
        posix::Fd folder;
        std::string name;
        ChangeResult failure;
    };
    Target reach(const std::string& path);
    // Gives the file at `path` the permissions `wanted` computes from its state.
    ChangeResult changePermissions(const std::string& path,
                                   const std::function<Permissions(const struct stat&)>& wanted);
    void at(Moment moment, const std::string& path) const {
        if (hook_)
            hook_(moment, path);
    }

    bool begun_ = false;
    bool locked_ = false;
    std::string gameFolder_;
    posix::Fd game_;
    Reason gameError_;  // why the game folder could not be opened
    TestHook hook_;
};

}  // namespace morvane
