// The version is set once, as the CMake project version: the release archive's name, the
// resource script, the debug report and the information panel must all carry that one.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "LanternquillVersion.h"
#include "app/DebugReport.h"
#include "overlay/InfoPanelText.h"
#include "tests/TestSupport.h"

namespace {

std::string Source(const std::string& relative) {
    return testing_support::ReadFile(std::string(LQ_SOURCE_DIR) + "/" + relative);
}

TEST(Version, EveryPieceCarriesTheProjectVersion) {
    std::smatch match;
    const std::string cmake = Source("CMakeLists.txt");
    ASSERT_TRUE(
        std::regex_search(cmake, match, std::regex(R"(project\(Lanternquill VERSION ([0-9.]+))")));
    EXPECT_EQ(match[1].str(), kVersionText);
    EXPECT_EQ(std::string(kVersionText),
              std::to_string(LQ_VERSION_MAJOR) + "." + std::to_string(LQ_VERSION_MINOR));

    const std::tm time{};
    EXPECT_TRUE(DebugReportHeader(time, 1920, 1080, 0, "Hand history folder: C:\\PKR")
                    .starts_with("Lanternquill V" + std::string(kVersionText) + " Debug Report\n"));
    EXPECT_NE(InfoPanelTemplate().find("Lanternquill\\'99 V" + std::string(kVersionText) + "\\par"),
              std::string::npos);
    // The archive is named from the CMake cache's project version.
    EXPECT_NE(Source("scripts/package.sh").find("CMAKE_PROJECT_VERSION"), std::string::npos);
}

TEST(Version, ResourceScriptTakesItFromTheGeneratedHeader) {
    const std::string script = Source("resources/Lanternquill.rc");
    EXPECT_NE(script.find("#include \"LanternquillVersion.h\""), std::string::npos);
    for (const char* line : {"FILEVERSION LQ_VERSION_MAJOR, LQ_VERSION_MINOR, 0, 0",
                             "PRODUCTVERSION LQ_VERSION_MAJOR, LQ_VERSION_MINOR, 0, 0",
                             "VALUE \"FileVersion\", LQ_FILE_VERSION_TEXT",
                             "VALUE \"ProductVersion\", LQ_VERSION_TEXT"}) {
        EXPECT_NE(script.find(line), std::string::npos) << line;
    }
    // The manifest is embedded as it is: its assembly version is checked rather than generated.
    EXPECT_NE(Source("resources/Lanternquill.manifest")
                  .find("name=\"Quillworks.Lanternquill\" version=\"" LQ_FILE_VERSION_TEXT "\""),
              std::string::npos);
    // No version written out by hand anywhere in the script.
    EXPECT_FALSE(std::regex_search(script, std::regex(R"([Vv][0-9]+\.[0-9]+|"[0-9]+\.[0-9]+)")));
}

}  // namespace
