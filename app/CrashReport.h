// The crash report the program leaves next to its cache file when it ends on an unhandled
// exception: what happened, where, in which version, and whether a minidump was written beside
// it. The text is composed here from plain values; the Windows side (CrashHandler) gathers them
// while the process is already failing, so composing must not allocate: it writes into a buffer
// the caller owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr const char* kCrashReportFile = "LanternquillCrash.txt";
inline constexpr const char* kCrashDumpFile = "LanternquillCrash.dmp";

// The exception code's name, such as "EXCEPTION_ACCESS_VIOLATION", or "unknown exception".
[[nodiscard]] std::string_view ExceptionName(uint32_t code) noexcept;

// What became of the minidump.
enum class eDumpOutcome {
    Written,      // in kCrashDumpFile
    NoDbgHelp,    // the system has no dbghelp.dll with MiniDumpWriteDump
    NotCreated,   // the dump file could not be created
    WriteFailed,  // MiniDumpWriteDump reported a failure (dumpError holds the system's code)
};

struct sCrashTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct sCrashFacts {
    uint32_t exceptionCode = 0;
    uint64_t address = 0;         // where the exception happened
    std::string_view modulePath;  // the module holding `address` (UTF-8); empty when none does
    uint64_t moduleBase = 0;
    // An access violation's kind (0 read, 1 write, 8 execution) and the address it touched; the
    // other exceptions leave hasAccess false.
    bool hasAccess = false;
    uint64_t accessKind = 0;
    uint64_t accessAddress = 0;
    uint32_t threadId = 0;
    sCrashTime utc;
    eDumpOutcome dump = eDumpOutcome::NoDbgHelp;
    uint32_t dumpError = 0;
};

// Writes the report's text into `out` and returns its length. A text longer than `out` is cut
// (the module path is the only part of unbounded length), never overrun; "\n" ends each line.
size_t FormatCrashReport(const sCrashFacts& facts, std::span<char> out) noexcept;
