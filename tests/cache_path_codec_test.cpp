// File-cache paths in the cache file: stored in an 8-bit code page, read back as the program's
// UTF-8, and left out when the code page cannot hold them, without any hand counted twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "history/CacheLayout.h"
#include "history/CachePathCodec.h"
#include "history/FileImport.h"
#include "history/FolderScan.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "platform/FileSystem.h"
#include "platform/SystemText.h"
#include "platform/Utf8Path.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;

namespace {

// Stands in for a Western ANSI code page: ISO 8859-1, whose bytes are the first 256 code points.
class CLatin1Codec final : public ICachePathCodec {
public:
    [[nodiscard]] std::optional<std::string> Encode(const std::string& path) const override {
        std::string out;
        for (size_t i = 0; i < path.size(); ++i) {
            const auto c = static_cast<unsigned char>(path[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < path.size()) {
                out += static_cast<char>(((c & 0x03U) << 6) |
                                         (static_cast<unsigned char>(path[++i]) & 0x3FU));
            } else {
                return std::nullopt;
            }
        }
        return out;
    }
    [[nodiscard]] std::string Decode(const std::string& stored) const override {
        std::string out;
        for (const char ch : stored) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                out += ch;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
};

const std::string kJuergen = "/hh/J\xC3\xBCrgen/20090301/Tisch Gr\xC3\xB6\xC3\x9F\x65.txt";
const std::string kCyrillic = "/hh/\xD0\x98\xD0\xB3\xD0\xBE\xD1\x80\xD1\x8C/20090301/t.txt";

CStatsStore StoreWithFiles(std::vector<std::string> files) {
    CStatsStore store;
    ParseHistoryText(
        store, hand_text::Header() + hand_text::Hand(7, {{1, "Ann"}, {2, "Ben"}}, {"Ann folds"}));
    for (size_t i = 0; i < files.size(); ++i) {
        store.AppendLoadedFile(std::move(files[i]), 1700000000 + static_cast<int64_t>(i));
    }
    return store;
}

class CachePathCodecTest : public ::testing::Test {
protected:
    CStatsStore SaveAndLoad(const CStatsStore& store) {
        EXPECT_TRUE(SaveStatsCache(store, path, codec));
        CStatsStore loaded;
        EXPECT_EQ(LoadStatsCacheEx(loaded, path, true, codec), eCacheLoad::Loaded);
        return loaded;
    }

    ScopedTempDir dir;
    std::string path = dir.File(kCacheFileName);
    CLatin1Codec codec;
};

TEST_F(CachePathCodecTest, PathsAreStoredInTheCodePageAndReadBackAsUtf8) {
    const CStatsStore loaded = SaveAndLoad(StoreWithFiles({kJuergen, "/hh/plain.txt"}));
    EXPECT_EQ(loaded.Files(), (std::vector<std::string>{kJuergen, "/hh/plain.txt"}));
    EXPECT_EQ(loaded.FileTimes(), (std::vector<int64_t>{1700000000, 1700000001}));
    // One byte per character in the file: "ü" is 0xFC, as the code page writes it.
    const std::string bytes = ReadFile(path);
    EXPECT_NE(bytes.find("/hh/J\xFCrgen/20090301/Tisch Gr\xF6\xDF\x65.txt"), std::string::npos);
    EXPECT_EQ(bytes.find("J\xC3\xBCrgen"), std::string::npos);
}

TEST_F(CachePathCodecTest, PathsTheCodePageCannotHoldAreLeftOut) {
    const CStatsStore loaded =
        SaveAndLoad(StoreWithFiles({"/hh/a.txt", kCyrillic, kJuergen, "/hh/b.txt"}));
    EXPECT_EQ(loaded.Files(), (std::vector<std::string>{"/hh/a.txt", kJuergen, "/hh/b.txt"}));
    EXPECT_EQ(loaded.FileTimes(), (std::vector<int64_t>{1700000000, 1700000002, 1700000003}));
}

TEST_F(CachePathCodecTest, TheFieldLimitAppliesToTheStoredForm) {
    // 200 "ü": 400 bytes of UTF-8 but 200 stored bytes, which fit the 256-byte field.
    std::string fits = "/";
    std::string tooLong = "/";
    for (int i = 0; i < 200; ++i) {
        fits += "\xC3\xBC";
    }
    for (int i = 0; i < 256; ++i) {
        tooLong += "\xC3\xBC";
    }
    const CStatsStore loaded = SaveAndLoad(StoreWithFiles({fits, tooLong}));
    EXPECT_EQ(loaded.Files(), (std::vector<std::string>{fits}));
}

// A table file whose path the cache file cannot hold: imported, and on every later full import
// looked at again, with each hand still counted once.
TEST_F(CachePathCodecTest, AnUnstorablePathIsReadAgainWithoutCountingItsHandsTwice) {
    const std::string root = Utf8FromPath(dir.Path());
    const std::string cyrillic = root + kPathSeparator + "\xD0\xA1\xD1\x82\xD0\xBE\xD0\xBB.txt";
    const std::string latin = root + kPathSeparator + "Gr\xC3\xB6\xC3\x9F\x65.txt";
    const std::string hands =
        hand_text::Header() +
        hand_text::Hand(11, {{1, "Ann"}, {2, "Ben"}}, {"Ann raises to $1", "Ben calls $1"}) +
        hand_text::Hand(12, {{1, "Ann"}, {2, "Ben"}}, {"Ann folds"});
    for (const std::string& file : {cyrillic, latin}) {
        std::ofstream(PathFromUtf8(file), std::ios::binary) << hands;  // the same hands in both
    }

    CStdFileSystem fileSystem;
    CStatsStore store;
    auto fullImport = [&](CStatsStore& into) {
        CHistoryScan scan(fileSystem, into);
        scan.ScanHistoryFolder(root, ".txt", 0, /*fullImport=*/true, nullptr);
        (void)ImportFoundFiles(into, scan.ModifiedFiles(), kNothingBeingWritten, nullptr);
        return scan.ModifiedPaths();
    };
    EXPECT_EQ(fullImport(store).size(), 2u);
    ASSERT_EQ(store.CountedHands().size(), 2u);
    auto before = std::make_unique<CPKR_PlayerRecord>();
    auto after = std::make_unique<CPKR_PlayerRecord>();
    store.GetRecord(store.FindPlayer("Ann"), *before);

    for (int run = 0; run < 3; ++run) {
        CStatsStore loaded = SaveAndLoad(store);
        EXPECT_EQ(loaded.Files(), (std::vector<std::string>{latin}));
        EXPECT_EQ(fullImport(loaded), (std::vector<std::string>{cyrillic})) << "run " << run;
        EXPECT_EQ(loaded.CountedHands().size(), 2u);
        loaded.GetRecord(loaded.FindPlayer("Ann"), *after);
        EXPECT_EQ(0, std::memcmp(before.get(), after.get(), sizeof(CPKR_PlayerRecord)));
        // The path is in the store once, not once more per run.
        EXPECT_EQ(std::count(loaded.Files().begin(), loaded.Files().end(), cyrillic), 1);
        store = std::move(loaded);
    }
}

// Names, and the code pages among 1250 (Central European), 1251 (Cyrillic) and 1252 (Western,
// the one a Wine prefix here has) that hold each of them exactly. UTF-8 (65001) holds them all.
struct sCodePageName {
    const char* what;
    std::string utf8;
    std::vector<unsigned> heldBy;
};

const std::vector<sCodePageName>& CodePageNames() {
    static const std::vector<sCodePageName> names = {
        {"ASCII", "plain name.txt", {1250, 1251, 1252}},
        {"German", "J\xC3\xBCrgen Gr\xC3\xB6\xC3\x9F\x65", {1250, 1252}},
        {"Polish", "\xC5\x81\xC3\xB3\x64\xC5\xBA", {1250}},  // Łódź
        {"Cyrillic", "\xD0\xA1\xD1\x82\xD0\xBE\xD0\xBB", {1251}},
        {"CJK", "\xE7\x89\x8C\xE6\xA1\x8C", {}},
    };
    return names;
}

#ifdef _WIN32
size_t Utf8Characters(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;  // not a continuation byte
    }));
}
#endif

// The system's code page: a name it can hold comes back exactly, through the cache file's codec
// too; one it cannot hold is refused, never stored as a look-alike. Outside Windows the bytes
// pass unchanged (even bytes that are not UTF-8).
TEST(SystemCodePageTest, NamesTheCodePageHoldsComeBackExactlyOthersAreRefused) {
#ifdef _WIN32
    const unsigned codePage = GetACP();
    RecordProperty("code_page", static_cast<int>(codePage));
    const bool known =
        codePage == 1250 || codePage == 1251 || codePage == 1252 || codePage == 65001;
#endif
    for (const sCodePageName& name : CodePageNames()) {
        SCOPED_TRACE(name.what);
        const std::string path = "/hh/" + name.utf8 + "/20090301/t.txt";
        const std::optional<std::string> stored = Utf8ToSystemCodePage(name.utf8);
        const std::optional<std::string> storedPath = SystemCachePathCodec().Encode(path);
#ifdef _WIN32
        if (!known) {
            // No expectations for this code page: ASCII converts, and what converts comes back
            // exactly.
            EXPECT_TRUE(stored || std::string_view(name.what) != "ASCII");
            if (stored) {
                EXPECT_EQ(SystemCodePageToUtf8(*stored), name.utf8);
            }
            continue;
        }
        const bool held = codePage == 65001 || std::find(name.heldBy.begin(), name.heldBy.end(),
                                                         codePage) != name.heldBy.end();
        SCOPED_TRACE("code page " + std::to_string(codePage));
        ASSERT_EQ(stored.has_value(), held);
        ASSERT_EQ(storedPath.has_value(), held);
        if (!held) {
            continue;
        }
        if (codePage != 65001) {
            EXPECT_EQ(stored->size(), Utf8Characters(name.utf8));  // one byte per character
        }
#else
        ASSERT_EQ(stored, std::optional<std::string>(name.utf8));
        ASSERT_EQ(storedPath, std::optional<std::string>(path));
#endif
        EXPECT_EQ(SystemCodePageToUtf8(*stored), name.utf8);
        EXPECT_EQ(SystemCachePathCodec().Decode(*storedPath), path);
    }
#ifndef _WIN32
    const std::string latin1Bytes = "J\xFCrgen";
    EXPECT_EQ(Utf8ToSystemCodePage(latin1Bytes), std::optional<std::string>(latin1Bytes));
    EXPECT_EQ(SystemCodePageToUtf8(latin1Bytes), latin1Bytes);
    EXPECT_EQ(SystemCachePathCodec().Decode(latin1Bytes), latin1Bytes);
#else
    EXPECT_FALSE(Utf8ToSystemCodePage("J\xFCrgen").has_value());  // not UTF-8
    if (!known) {
        GTEST_SKIP() << "code page " << codePage << " has no expectations here; only ASCII and "
                     << "exact round trips were checked";
    }
#endif
}

TEST(CommandLineArgumentsTest, ArgumentsAfterTheProgramName) {
#ifndef _WIN32
    char program[] = "lanternquill";
    char folder[] = "J\xC3\xBCrgen";
    char* argv[] = {program, folder, nullptr};
    EXPECT_EQ(CommandLineArguments(2, argv), (std::vector<std::string>{folder}));
    EXPECT_TRUE(CommandLineArguments(1, argv).empty());
#else
    GTEST_SKIP() << "Windows reads them from the process's own command line";
#endif
}

}  // namespace
