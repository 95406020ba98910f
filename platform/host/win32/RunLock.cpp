#include "platform/host/win32/RunLock.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

namespace morvane::win32 {
namespace {

// The folders whose lock a holder in this process has.
std::mutex heldHereGuard;
std::set<std::wstring> heldHere;

HANDLE openMutex(const std::wstring& identity) {
    // Global, so that a run of another user or session is kept apart too; where that namespace
    // cannot be used, this session's.
    for (const wchar_t* space : {L"Global\\", L"Local\\"}) {
        const std::wstring name = std::wstring(space) + L"Morvane.RunLock." + identity;
        if (HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str()))
            return mutex;
    }
    return nullptr;
}

}  // namespace

LockState RunLock::take(const std::wstring& identity,
                        std::optional<std::chrono::milliseconds> wait) {
    release();
    mutex_ = openMutex(identity);
    if (mutex_ == nullptr)
        return LockState::Unavailable;
    identity_ = identity;
    constexpr auto kPoll = std::chrono::milliseconds(25);
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        {
            const std::lock_guard guard(heldHereGuard);
            if (!heldHere.contains(identity)) {
                switch (WaitForSingleObject(mutex_, 0)) {
                    case WAIT_OBJECT_0:
                    case WAIT_ABANDONED:  // its holder died: the lock is ours now
                        heldHere.insert(identity);
                        held_ = true;
                        return LockState::Held;
                    case WAIT_TIMEOUT:
                        break;
                    default:
                        release();
                        return LockState::Unavailable;
                }
            }
        }
        if (wait && std::chrono::steady_clock::now() - start >= *wait) {
            release();
            return LockState::Busy;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

void RunLock::release() {
    if (held_) {
        ReleaseMutex(mutex_);
        const std::lock_guard guard(heldHereGuard);
        heldHere.erase(identity_);
        held_ = false;
    }
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

std::wstring folderIdentity(HANDLE folder) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder, &info))
        return {};
    wchar_t identity[40];
    std::swprintf(identity, 40, L"%08lx.%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                  info.nFileIndexLow);
    return identity;
}

}  // namespace morvane::win32
