// The program's last act when an exception reaches no handler: the crash report and a minidump
// (CrashReport.h), under names no file had (CrashFiles.h), in the folder that was current at
// start, where the cache file lives. Nothing is shown; the process ends with the exception's code.
#pragma once

#include <string_view>

// Installs the handler, and sets aside at once everything it will need: the folder, the means
// to write the dump, the list of modules and a thread that writes the files. Call once at start,
// on the main thread (whose stack it reserves room on for the handler after a stack overflow),
// before the current folder can change.
void InstallCrashHandler() noexcept;

// The faults of the hidden /crash-test switch, for the end-to-end tests of the handler.
enum class eTestCrash {
    NullWrite,       // "/crash-test": a write to address 0
    StackOverflow,   // "/crash-test stack": endless recursion on the main thread
    HeapCorruption,  // "/crash-test heap": a freed block of the process heap overwritten, the
                     // heap then used
};

// The fault named by the word after the switch in the program's command line.
[[nodiscard]] eTestCrash TestCrashFromCommandLine(std::string_view commandLine) noexcept;

// Makes the fault; ends the process with status 99 should the fault not end it.
[[noreturn]] void CrashForTest(eTestCrash kind) noexcept;
