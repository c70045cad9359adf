#include <windows.h>

#include "platform/NamedLock.h"
#include "platform/win32/Utf16.h"

namespace {

// Owns a named mutex that the taking thread owns. A mutex rather than the mere existence of a
// named object: a process that only opens the name for a moment to look (or a holder that died,
// leaving the mutex abandoned) never makes the lock look taken.
class CHeldMutex final : public IHeldLock {
public:
    explicit CHeldMutex(HANDLE mutex) noexcept : m_mutex(mutex) {}
    ~CHeldMutex() override {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
    CHeldMutex(const CHeldMutex&) = delete;
    CHeldMutex& operator=(const CHeldMutex&) = delete;

private:
    HANDLE m_mutex;
};

}  // namespace

sLockAttempt CSystemNamedLocks::TryTake(const std::string& name) {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, WideFromUtf8(name).c_str());
    if (mutex == nullptr) {
        // The name exists but may not be opened by this user: somebody holds it.
        return {GetLastError() == ERROR_ACCESS_DENIED ? eLockOutcome::HeldElsewhere
                                                      : eLockOutcome::Unavailable,
                nullptr};
    }
    switch (WaitForSingleObject(mutex, 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its holder ended without releasing it: it is ours now
            return {eLockOutcome::Taken, std::make_unique<CHeldMutex>(mutex)};
        case WAIT_TIMEOUT:
            CloseHandle(mutex);
            return {eLockOutcome::HeldElsewhere, nullptr};
        default:
            CloseHandle(mutex);
            return {eLockOutcome::Unavailable, nullptr};
    }
}
