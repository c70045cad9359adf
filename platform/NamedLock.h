// Locks that every process of the user's session knows by name, so that two programs can tell
// that one of them is already working on something (a cache file) before they both write it.
#pragma once

#include <memory>
#include <string>

// Releases its lock when destroyed; the system releases it too when the process ends, however
// it ends.
class IHeldLock {
public:
    virtual ~IHeldLock() = default;
};

enum class eLockOutcome {
    Taken,          // this process holds the lock now
    HeldElsewhere,  // another process holds it
    Unavailable,    // the system could not make the lock (nothing is known about other holders)
};

struct sLockAttempt {
    eLockOutcome outcome = eLockOutcome::Unavailable;
    std::unique_ptr<IHeldLock> held;  // set exactly when the outcome is Taken
};

class INamedLocks {
public:
    virtual ~INamedLocks() = default;
    // Takes the lock called `name` without waiting. `name` is a kernel object name: at most
    // 200 characters, no backslash but one after a "Local" or "Global" namespace prefix.
    virtual sLockAttempt TryTake(const std::string& name) = 0;
};

// The system's locks. Windows: a named mutex owned by the taking thread, in the namespace the
// name gives. POSIX: every attempt succeeds and holds nothing, as nothing there runs the
// Windows program that keeps a cache file loaded.
class CSystemNamedLocks final : public INamedLocks {
public:
    sLockAttempt TryTake(const std::string& name) override;
};
