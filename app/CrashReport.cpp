#include "app/CrashReport.h"

#include <array>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "LanternquillVersion.h"

namespace {

struct sExceptionName {
    uint32_t code;
    std::string_view name;
};

// The system's exception codes, and the two that runtime libraries raise for their own
// failures (a C++ exception nobody caught is raised as one of those).
constexpr std::array<sExceptionName, 24> kExceptionNames = {{
    {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},
    {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {0x80000003, "EXCEPTION_BREAKPOINT"},
    {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},
    {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION"},
    {0xC0000091, "EXCEPTION_FLT_OVERFLOW"},
    {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},
    {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},
    {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},
    {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {0xC0000095, "EXCEPTION_INT_OVERFLOW"},
    {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
    {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},
    {0x80000004, "EXCEPTION_SINGLE_STEP"},
    {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
    {0xC0000374, "STATUS_HEAP_CORRUPTION"},
    {0xC0000409, "STATUS_STACK_BUFFER_OVERRUN"},
    {0xE06D7363, "Microsoft C++ exception"},
    {0x20474343, "GCC C++ exception"},
}};

// Appends to a fixed buffer, cutting what does not fit; the text stays NUL-terminated.
class CFixedText {
public:
    explicit CFixedText(std::span<char> out) noexcept : m_out(out) {
        if (!m_out.empty()) {
            m_out[0] = '\0';
        }
    }

    [[gnu::format(printf, 2, 3)]] void Append(const char* format, ...) noexcept {
        if (m_out.size() <= m_length + 1) {
            return;
        }
        va_list args;
        va_start(args, format);
        const int written =
            std::vsnprintf(m_out.data() + m_length, m_out.size() - m_length, format, args);
        va_end(args);
        if (written > 0) {
            const size_t room = m_out.size() - m_length - 1;
            m_length += static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room;
        }
    }
    [[nodiscard]] size_t Length() const noexcept { return m_length; }

private:
    std::span<char> m_out;
    size_t m_length = 0;
};

// The module path is the one text of unbounded length: shown up to this many bytes, so that the
// lines after it always fit in a report buffer of a few kilobytes.
constexpr size_t kModulePathShown = 1024;

std::string_view AccessKindName(uint64_t kind) noexcept {
    switch (kind) {
        case 0:
            return "read";
        case 1:
            return "write";
        case 8:
            return "execution";
        default:
            return "access";
    }
}

void AppendDump(CFixedText& text, const sCrashFacts& facts) noexcept {
    switch (facts.dump) {
        case eDumpOutcome::Written:
            text.Append("Minidump: %s\n", kCrashDumpFile);
            return;
        case eDumpOutcome::NoDbgHelp:
            text.Append("Minidump: not written (this system has no MiniDumpWriteDump)\n");
            return;
        case eDumpOutcome::NotCreated:
            text.Append("Minidump: not written (%s could not be created, error %" PRIu32 ")\n",
                        kCrashDumpFile, facts.dumpError);
            return;
        case eDumpOutcome::WriteFailed:
            text.Append("Minidump: not written (MiniDumpWriteDump failed, error 0x%08" PRIX32 ")\n",
                        facts.dumpError);
            return;
    }
}

}  // namespace

std::string_view ExceptionName(uint32_t code) noexcept {
    for (const sExceptionName& entry : kExceptionNames) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return "unknown exception";
}

size_t FormatCrashReport(const sCrashFacts& facts, std::span<char> out) noexcept {
    CFixedText text(out);
    const std::string_view name = ExceptionName(facts.exceptionCode);
    text.Append("Lanternquill V%s crash report\n", LQ_VERSION_TEXT);
    text.Append("Time (UTC): %04d-%02d-%02d %02d:%02d:%02d\n", facts.utc.year, facts.utc.month,
                facts.utc.day, facts.utc.hour, facts.utc.minute, facts.utc.second);
    text.Append("Exception: 0x%08" PRIX32 " %.*s\n", facts.exceptionCode,
                static_cast<int>(name.size()), name.data());
    if (facts.hasAccess) {
        const std::string_view kind = AccessKindName(facts.accessKind);
        text.Append("Access: %.*s of address 0x%016" PRIX64 "\n", static_cast<int>(kind.size()),
                    kind.data(), facts.accessAddress);
    }
    text.Append("Address: 0x%016" PRIX64 "\n", facts.address);
    if (facts.modulePath.empty() || facts.address < facts.moduleBase) {
        text.Append("Module: none (the address lies outside every loaded module)\n");
    } else {
        const std::string_view path = facts.modulePath.substr(0, kModulePathShown);
        text.Append("Module: %.*s + 0x%" PRIX64 "\n", static_cast<int>(path.size()), path.data(),
                    facts.address - facts.moduleBase);
    }
    text.Append("Thread: %" PRIu32 "\n", facts.threadId);
    AppendDump(text, facts);
    return text.Length();
}
