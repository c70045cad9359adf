#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "LanternquillVersion.h"
#include "app/CrashFiles.h"
#include "app/CrashModules.h"
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
    facts.dumpFile = "LanternquillCrash-20261207-210509.dmp";
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
                                       "Minidump: LanternquillCrash-20261207-210509.dmp\n");
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
    EXPECT_NE(Report(facts).find("LanternquillCrash-20261207-210509.dmp could not be created, "
                                 "error 5"),
              std::string::npos);
    facts.dump = eDumpOutcome::WriteFailed;
    facts.dumpError = 0x8007001F;
    EXPECT_NE(Report(facts).find("MiniDumpWriteDump failed, error 0x8007001F"), std::string::npos);
    facts.dump = eDumpOutcome::Unfinished;
    EXPECT_NE(
        Report(facts).find("Minidump: not written (the program ended before it was finished)\n"),
        std::string::npos);
}

TEST(CrashReport, ALongModulePathIsCutSoTheLinesAfterItStillFit) {
    const std::string path(40000, 'p');
    sCrashFacts facts = NullWrite();
    facts.modulePath = path;
    const std::string report = Report(facts);
    EXPECT_LT(report.size(), 2048u);
    EXPECT_NE(report.find("Thread: 4242\nMinidump: LanternquillCrash-20261207-210509.dmp\n"),
              std::string::npos);
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

TEST(CrashReport, FileNamesCarryTheTimeAndTheAttemptAndAreNeverCut) {
    const sCrashTime utc{2026, 3, 4, 5, 6, 7};
    std::array<char, 64> buffer{};
    EXPECT_EQ(CrashFileName(utc, 1, eCrashFile::Report, buffer),
              "LanternquillCrash-20260304-050607.txt");
    EXPECT_EQ(CrashFileName(utc, 1, eCrashFile::Dump, buffer),
              "LanternquillCrash-20260304-050607.dmp");
    EXPECT_EQ(CrashFileName(utc, 12, eCrashFile::Dump, buffer),
              "LanternquillCrash-20260304-050607-12.dmp");
    // A buffer one byte short would cut the extension: no name at all rather than another name.
    const std::string whole = "LanternquillCrash-20260304-050607-12.txt";
    for (const size_t size : {whole.size(), whole.size() - 3, size_t{10}, size_t{0}}) {
        std::vector<char> small(size);
        EXPECT_EQ(CrashFileName(utc, 12, eCrashFile::Report, small), "") << size;
    }
    std::vector<char> exact(whole.size() + 1);
    EXPECT_EQ(CrashFileName(utc, 12, eCrashFile::Report, exact), whole);
}

// A folder of names: creating a name that is there is refused, as the system's exclusive create
// refuses it.
class CFakeCrashFolder final : public ICrashFileCreator {
public:
    std::set<std::string> names;
    std::set<std::string> failing;  // names whose creation fails for another reason
    std::vector<std::string> tried;

    eResult CreateNew(eCrashFile kind, std::string_view name) noexcept override {
        tried.emplace_back(name);
        if (failing.contains(std::string(name))) {
            return eResult::Failed;
        }
        if (!names.emplace(name).second) {
            return eResult::Exists;
        }
        created[Index(kind)] = name;
        return eResult::Created;
    }
    void Remove(eCrashFile kind) noexcept override {
        names.erase(created[Index(kind)]);
        created[Index(kind)].clear();
    }

private:
    static size_t Index(eCrashFile kind) { return kind == eCrashFile::Report ? 0 : 1; }
    std::array<std::string, 2> created;
};

constexpr sCrashTime kCrashAt{2026, 12, 7, 21, 5, 9};
const std::string kFirst = "LanternquillCrash-20261207-210509";

TEST(CrashFiles, TakenNamesAreSkippedAndNothingIsReplacedOrLeftBehind) {
    CFakeCrashFolder folder;
    // An earlier crash in the same second, and a file of the second attempt's dump name.
    folder.names = {kFirst + ".txt", kFirst + ".dmp", kFirst + "-2.dmp"};
    const sCrashClaim claim = ClaimCrashFiles(kCrashAt, folder);
    EXPECT_EQ(claim.attempt, 3u);
    EXPECT_TRUE(claim.dumpCreated);
    // The second attempt's report, created before its dump name was found taken, is gone again.
    EXPECT_EQ(folder.names,
              (std::set<std::string>{kFirst + ".txt", kFirst + ".dmp", kFirst + "-2.dmp",
                                     kFirst + "-3.txt", kFirst + "-3.dmp"}));

    CFakeCrashFolder empty;
    EXPECT_EQ(ClaimCrashFiles(kCrashAt, empty).attempt, 1u);
    EXPECT_EQ(empty.names, (std::set<std::string>{kFirst + ".txt", kFirst + ".dmp"}));
}

TEST(CrashFiles, AFolderThatTakesNoFileEndsTheClaimAndAFailedDumpKeepsTheReport) {
    CFakeCrashFolder readOnly;
    readOnly.failing = {kFirst + ".txt"};
    EXPECT_EQ(ClaimCrashFiles(kCrashAt, readOnly).attempt, 0u);
    EXPECT_EQ(readOnly.tried, std::vector<std::string>{kFirst + ".txt"});

    CFakeCrashFolder noDump;
    noDump.failing = {kFirst + ".dmp"};
    const sCrashClaim claim = ClaimCrashFiles(kCrashAt, noDump);
    EXPECT_EQ(claim.attempt, 1u);
    EXPECT_FALSE(claim.dumpCreated);
    EXPECT_TRUE(noDump.names.contains(kFirst + ".txt"));
}

TEST(CrashFiles, WhenEveryNameIsTakenNoneIsClaimed) {
    CFakeCrashFolder full;
    std::array<char, 64> name{};
    for (unsigned attempt = 1; attempt <= kCrashNameAttempts; ++attempt) {
        full.names.emplace(CrashFileName(kCrashAt, attempt, eCrashFile::Report, name));
    }
    const std::set<std::string> before = full.names;
    EXPECT_EQ(ClaimCrashFiles(kCrashAt, full).attempt, 0u);
    EXPECT_EQ(full.names, before);
}

TEST(CrashModules, TheLoadedModuleHoldingTheAddressIsFoundTheLatestFirst) {
    const auto table = std::make_unique<CModuleTable>();
    table->Add({0x140000000, 0x10000}, R"(C:\app\Lanternquill.exe)");
    table->Add({0x180000000, 0x2000}, R"(C:\windows\system32\ntdll.dll)");
    EXPECT_EQ(table->Find(0x140000000).path, R"(C:\app\Lanternquill.exe)");
    EXPECT_EQ(table->Find(0x14000FFFF).base, 0x140000000u);
    EXPECT_EQ(table->Find(0x140010000).path, "");  // one past the end
    EXPECT_EQ(table->Find(0x13FFFFFFF).path, "");
    EXPECT_EQ(table->Find(0x180001000).path, R"(C:\windows\system32\ntdll.dll)");

    // Unloaded, then another module loaded at the same place.
    table->MarkUnloaded(0x180000000);
    EXPECT_EQ(table->Find(0x180001000).path, "");
    table->Add({0x180000000, 0x4000}, R"(C:\plugins\hook.dll)");
    EXPECT_EQ(table->Find(0x180003000).path, R"(C:\plugins\hook.dll)");
    // Recorded twice (at start and by the loader's notice): the later record answers.
    table->Add({0x180000000, 0x4000}, R"(C:\plugins\hook2.dll)");
    EXPECT_EQ(table->Find(0x180003000).path, R"(C:\plugins\hook2.dll)");
}

TEST(CrashModules, AFullTableKeepsWhatItHasAndRecordsNoCutName) {
    const auto table = std::make_unique<CModuleTable>();
    const std::string longPath(CModuleTable::kNameBytes - 10, 'p');
    table->Add({0x1000, 0x1000}, longPath);
    table->Add({0x2000, 0x1000}, "a name longer than the ten bytes left");
    EXPECT_EQ(table->Find(0x1000).path, longPath);
    EXPECT_EQ(table->Find(0x2000).path, "");
    table->Add({0x3000, 0x1000}, "short");
    EXPECT_EQ(table->Find(0x3000).path, "short");

    const auto many = std::make_unique<CModuleTable>();
    for (uint64_t i = 0; i <= CModuleTable::kCapacity; ++i) {
        many->Add({0x10000 * (i + 1), 0x1000}, "m.dll");
    }
    EXPECT_EQ(many->Find(0x10000 * CModuleTable::kCapacity).path, "m.dll");
    EXPECT_EQ(many->Find(0x10000 * (CModuleTable::kCapacity + 1)).path, "");
}

}  // namespace
