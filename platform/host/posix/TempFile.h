#pragma once

#include <string>

#include "platform/Reason.h"
#include "platform/host/TempNames.h"
#include "platform/host/posix/Fd.h"

namespace morvane::posix {

// A file being written in the folder open as `folder`, to be put in place of the entry `target`
// there. It is made unnamed (O_TMPFILE) where the file system allows, so that a run killed while
// writing leaves nothing behind; else, and just before the rename, it carries a name that no other
// run can choose. A temporary file that was not put in place is removed when this goes.
class TempFile {
  public:
    // How the file is made.
    enum class Kind {
        Unnamed,  // O_TMPFILE where the file system allows, else Named
        Named,    // under a unique name from the start
    };

    TempFile(int folder, std::string target, Kind kind = Kind::Unnamed);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();

    // The file to write; not valid when it could not be made (see error()).
    int fd() const { return file_.get(); }
    bool valid() const { return file_.valid(); }

    // The file's name in the folder; empty while it has none.
    const std::string& name() const { return name_; }

    // Gives the file its unique name, if it has none yet.
    bool giveName();
    // Renames the named file over the target; on failure removes it.
    bool rename();

    // Why the last step failed.
    const Reason& error() const { return error_; }

  private:
    // Notes that `what` failed for the reason errno gives.
    bool fail(Reason what);

    int folder_;
    std::string target_;
    Fd file_;
    std::string name_;  // empty while the file has no name
    Reason error_;
};

// A temporary file's name for `target`, its random part new (see TempNames.h).
std::string randomName(const std::string& target);

// Removes from the folder open as `folder` the temporary files of copies to `target` that a killed
// run left there. Only while holding the folder's run lock: a live run's files are its own.
void removeLeftovers(int folder, const std::string& target);

}  // namespace morvane::posix
