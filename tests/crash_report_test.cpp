#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "LanternquillVersion.h"
#include "app/CrashReport.h"

namespace {

// A write to address 0 at offset 0x1A2B of the program, with its minidump written.
sCrashFacts NullWrite() {
    sCrashFacts facts;
    facts.exceptionCode = 0xC0000005;
    facts.address = 0x140001A2B;
    facts.modulePath = R"(C:\Program Files\Lanternquill\Lanternquill.exe)";
    facts.moduleBase = 0x140000000;
    facts.hasAccess = true;
    facts.accessKind = 1;
    facts.accessAddress = 0;
    facts.threadId = 4242;
    facts.utc = {2026, 12, 7, 21, 5, 9};
    facts.dump = eDumpOutcome::Written;
    return facts;
}

std::string Report(const sCrashFacts& facts) {
    std::array<char, 4096> buffer{};
    const size_t length = FormatCrashReport(facts, buffer);
    return {buffer.data(), length};
}

TEST(CrashReport, AnAccessViolationNamesWhatWhereAndWhenWithTheDump) {
    EXPECT_EQ(Report(NullWrite()), std::string("Lanternquill V") + LQ_VERSION_TEXT +
                                       " crash report\n"
                                       "Time (UTC): 2026-12-07 21:05:09\n"
                                       "Exception: 0xC0000005 EXCEPTION_ACCESS_VIOLATION\n"
                                       "Access: write of address 0x0000000000000000\n"
                                       "Address: 0x0000000140001A2B\n"
                                       R"(Module: C:\Program Files\Lanternquill\Lanternquill.exe)"
                                       " + 0x1A2B\n"
                                       "Thread: 4242\n"
                                       "Minidump: LanternquillCrash.dmp\n");
}

TEST(CrashReport, OtherExceptionsHaveNoAccessLineAndAnUnknownCodeSaysSo) {
    sCrashFacts facts = NullWrite();
    facts.hasAccess = false;
    facts.exceptionCode = 0xC00000FD;
    EXPECT_NE(Report(facts).find("Exception: 0xC00000FD EXCEPTION_STACK_OVERFLOW\n"),
              std::string::npos);
    EXPECT_EQ(Report(facts).find("Access:"), std::string::npos);

    facts.exceptionCode = 0x12345678;
    EXPECT_NE(Report(facts).find("Exception: 0x12345678 unknown exception\n"), std::string::npos);
    EXPECT_EQ(ExceptionName(0), "unknown exception");
    EXPECT_EQ(ExceptionName(0x20474343), "GCC C++ exception");
}

TEST(CrashReport, AnAddressOutsideEveryModuleIsSaidPlainly) {
    sCrashFacts facts = NullWrite();
    facts.modulePath = "";
    EXPECT_NE(Report(facts).find("Module: none"), std::string::npos);
    // A base above the address (a module lookup gone wrong) must not show a wrapped offset.
    facts.modulePath = "x.dll";
    facts.moduleBase = facts.address + 1;
    EXPECT_NE(Report(facts).find("Module: none"), std::string::npos);
}

TEST(CrashReport, EachDumpOutcomeIsReportedWithTheSystemsError) {
    sCrashFacts facts = NullWrite();
    facts.dump = eDumpOutcome::NoDbgHelp;
    EXPECT_NE(Report(facts).find("Minidump: not written (this system has no MiniDumpWriteDump)"),
              std::string::npos);
    facts.dump = eDumpOutcome::NotCreated;
    facts.dumpError = 5;
    EXPECT_NE(Report(facts).find("LanternquillCrash.dmp could not be created, error 5"),
              std::string::npos);
    facts.dump = eDumpOutcome::WriteFailed;
    facts.dumpError = 0x8007001F;
    EXPECT_NE(Report(facts).find("MiniDumpWriteDump failed, error 0x8007001F"), std::string::npos);
}

TEST(CrashReport, ALongModulePathIsCutSoTheLinesAfterItStillFit) {
    const std::string path(40000, 'p');
    sCrashFacts facts = NullWrite();
    facts.modulePath = path;
    const std::string report = Report(facts);
    EXPECT_LT(report.size(), 2048u);
    EXPECT_NE(report.find("Thread: 4242\nMinidump: LanternquillCrash.dmp\n"), std::string::npos);
}

TEST(CrashReport, ASmallBufferIsFilledAndTerminatedWithoutOverrun) {
    for (const size_t size : {0u, 1u, 2u, 17u, 100u}) {
        // Guard bytes after the span catch any write past it.
        std::vector<char> buffer(size + 8, '#');
        const size_t length = FormatCrashReport(NullWrite(), std::span<char>(buffer.data(), size));
        EXPECT_EQ(length, size == 0 ? 0 : size - 1) << size;
        if (size > 0) {
            EXPECT_EQ(buffer[length], '\0') << size;
        }
        EXPECT_EQ(std::string(buffer.end() - 8, buffer.end()), "########") << size;
    }
    const std::string whole = Report(NullWrite());
    std::array<char, 17> small{};
    EXPECT_EQ(std::string(small.data(), FormatCrashReport(NullWrite(), small)),
              whole.substr(0, 16));
}

}  // namespace
