// The program's last act when an exception reaches no handler: the crash report and a minidump
// (CrashReport.h) in the folder that was current at start, where the cache file lives.
#pragma once

// Installs the handler. Call once at start, before the current folder can change: the report's
// paths are fixed then.
void InstallCrashHandler() noexcept;

// Writes to address 0, for the end-to-end test of the handler (the hidden /crash-test switch).
[[noreturn]] void CrashForTest() noexcept;
