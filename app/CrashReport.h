// The crash report the program leaves next to its cache file when it ends on an unhandled
// exception: what happened, where, in which version, and whether a minidump was written beside
// it. The text and the files' names are composed here from plain values; the Windows side
// (CrashHandler) gathers them while the process is already failing, possibly with its heap's lock
// held by the thread that crashed, so nothing here allocates: it all writes into buffers the
// caller owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The exception code's name, such as "EXCEPTION_ACCESS_VIOLATION", or "unknown exception".
[[nodiscard]] std::string_view ExceptionName(uint32_t code) noexcept;

// What became of the minidump.
enum class eDumpOutcome {
    Written,      // in sCrashFacts::dumpFile
    NoDbgHelp,    // the system has no dbghelp.dll with MiniDumpWriteDump
    NotCreated,   // the dump file could not be created (dumpError holds the system's code)
    WriteFailed,  // MiniDumpWriteDump reported a failure (dumpError holds the system's code)
    Unfinished,   // the program ended before MiniDumpWriteDump returned
};

struct sCrashTime {
    uint32_t year = 0;
    uint32_t month = 0;
    uint32_t day = 0;
    uint32_t hour = 0;
    uint32_t minute = 0;
    uint32_t second = 0;
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
    std::string_view dumpFile;  // the minidump's file name, beside the report
    eDumpOutcome dump = eDumpOutcome::NoDbgHelp;
    uint32_t dumpError = 0;
};

// Writes the report's text into `out` and returns its length. A text longer than `out` is cut
// (the module path is the only part of unbounded length), never overrun; "\n" ends each line.
size_t FormatCrashReport(const sCrashFacts& facts, std::span<char> out) noexcept;

enum class eCrashFile { Report, Dump };

// The name of a crash's report or minidump: "LanternquillCrash-20261207-210509.txt" (.dmp) for a
// crash at that time (UTC); from the second attempt on the attempt is added,
// "LanternquillCrash-20261207-210509-2.txt", for when the first name is taken. Written into
// `out`; an empty view when `out` cannot hold it.
[[nodiscard]] std::string_view CrashFileName(const sCrashTime& utc, unsigned attempt,
                                             eCrashFile kind, std::span<char> out) noexcept;
