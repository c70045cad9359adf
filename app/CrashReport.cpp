#include "app/CrashReport.h"

#include <array>
#include <charconv>

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

// Appends to a fixed buffer, cutting what does not fit; the text stays NUL-terminated. Numbers
// are written with std::to_chars: the C library's printf family may allocate.
class CFixedText {
public:
    explicit CFixedText(std::span<char> out) noexcept : m_out(out) {
        if (!m_out.empty()) {
            m_out[0] = '\0';
        }
    }

    CFixedText& Add(std::string_view text) noexcept {
        if (m_out.empty()) {
            return *this;
        }
        const size_t room = m_out.size() - 1 - m_length;
        const size_t count = text.size() < room ? text.size() : room;
        text.copy(m_out.data() + m_length, count);
        m_length += count;
        m_out[m_length] = '\0';
        return *this;
    }
    // `value` in base 10 or 16 (upper case), with leading zeros up to `digits`.
    CFixedText& Decimal(uint64_t value, size_t digits = 1) noexcept {
        return Number(value, 10, digits);
    }
    CFixedText& Hex(uint64_t value, size_t digits = 1) noexcept {
        return Number(value, 16, digits);
    }

    [[nodiscard]] size_t Length() const noexcept { return m_length; }
    [[nodiscard]] std::string_view View() const noexcept { return {m_out.data(), m_length}; }

private:
    CFixedText& Number(uint64_t value, int base, size_t digits) noexcept {
        std::array<char, 24> text{};
        const auto [end, error] =
            std::to_chars(text.data(), text.data() + text.size(), value, base);
        const std::string_view written(text.data(), static_cast<size_t>(end - text.data()));
        for (size_t zeros = written.size(); zeros < digits && zeros < text.size(); ++zeros) {
            Add("0");
        }
        for (const char c : written) {
            const char upper = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
            Add({&upper, 1});
        }
        return *this;
    }

    std::span<char> m_out;
    size_t m_length = 0;
};

// The module path is the one text of unbounded length: shown up to this many bytes, so that the
// lines after it always fit in a report buffer of a few kilobytes.
constexpr size_t kModulePathShown = 1024;

constexpr std::string_view kCrashFileStem = "LanternquillCrash-";

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
    text.Add("Minidump: ");
    switch (facts.dump) {
        case eDumpOutcome::Written:
            text.Add(facts.dumpFile).Add("\n");
            return;
        case eDumpOutcome::NoDbgHelp:
            text.Add("not written (this system has no MiniDumpWriteDump)\n");
            return;
        case eDumpOutcome::NotCreated:
            text.Add("not written (")
                .Add(facts.dumpFile)
                .Add(" could not be created, error ")
                .Decimal(facts.dumpError)
                .Add(")\n");
            return;
        case eDumpOutcome::WriteFailed:
            text.Add("not written (MiniDumpWriteDump failed, error 0x")
                .Hex(facts.dumpError, 8)
                .Add(")\n");
            return;
        case eDumpOutcome::Unfinished:
            text.Add("not written (the program ended before it was finished)\n");
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
    const sCrashTime& utc = facts.utc;
    text.Add("Lanternquill V").Add(LQ_VERSION_TEXT).Add(" crash report\n");
    text.Add("Time (UTC): ").Decimal(utc.year, 4).Add("-").Decimal(utc.month, 2).Add("-");
    text.Decimal(utc.day, 2).Add(" ").Decimal(utc.hour, 2).Add(":").Decimal(utc.minute, 2);
    text.Add(":").Decimal(utc.second, 2).Add("\n");
    text.Add("Exception: 0x").Hex(facts.exceptionCode, 8).Add(" ");
    text.Add(ExceptionName(facts.exceptionCode)).Add("\n");
    if (facts.hasAccess) {
        text.Add("Access: ").Add(AccessKindName(facts.accessKind)).Add(" of address 0x");
        text.Hex(facts.accessAddress, 16).Add("\n");
    }
    text.Add("Address: 0x").Hex(facts.address, 16).Add("\n");
    if (facts.modulePath.empty() || facts.address < facts.moduleBase) {
        text.Add("Module: none (the address lies outside every loaded module)\n");
    } else {
        text.Add("Module: ").Add(facts.modulePath.substr(0, kModulePathShown)).Add(" + 0x");
        text.Hex(facts.address - facts.moduleBase).Add("\n");
    }
    text.Add("Thread: ").Decimal(facts.threadId).Add("\n");
    AppendDump(text, facts);
    return text.Length();
}

std::string_view CrashFileName(const sCrashTime& utc, unsigned attempt, eCrashFile kind,
                               std::span<char> out) noexcept {
    CFixedText name(out);
    name.Add(kCrashFileStem).Decimal(utc.year, 4).Decimal(utc.month, 2).Decimal(utc.day, 2);
    name.Add("-").Decimal(utc.hour, 2).Decimal(utc.minute, 2).Decimal(utc.second, 2);
    if (attempt > 1) {
        name.Add("-").Decimal(attempt);
    }
    const std::string_view extension = kind == eCrashFile::Report ? ".txt" : ".dmp";
    name.Add(extension);
    // A cut name could be another file's: none rather than that.
    const std::string_view whole = name.View();
    return whole.ends_with(extension) ? whole : std::string_view{};
}
