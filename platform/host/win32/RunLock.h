#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace morvane::win32 {

enum class LockState {
    Held,         // ours until release()
    Busy,         // another holder kept it for longer than the wait
    Unavailable,  // the system gives no such lock: going on without it
};

// The run lock of one game folder, shared by every process of every user on the machine: a named
// mutex whose name comes from the folder's identity (its volume and file index), so that two paths
// to one folder take the same lock. A process that dies while holding it leaves it free (the
// mutex is then abandoned, and taken over). Within a process, two holders are kept apart as well,
// though a mutex would let one thread take it twice.
//
// A mutex belongs to the thread that took it: release() on that thread.
class RunLock {
  public:
    RunLock() = default;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock() { release(); }

    // Takes the lock of the folder `identity` names, waiting up to `wait` for another holder to let
    // it go, or without limit when `wait` has no value.
    LockState take(const std::wstring& identity, std::optional<std::chrono::milliseconds> wait);
    void release();

  private:
    HANDLE mutex_ = nullptr;
    std::wstring identity_;
    bool held_ = false;
};

// The identity of an open folder, for RunLock: its volume's serial number and its file index.
std::wstring folderIdentity(HANDLE folder);

}  // namespace morvane::win32
