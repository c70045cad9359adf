#include "overlay/InfoPanelText.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

// One paragraph as a rich edit control would show it.
struct sParagraph {
    std::string text;
    int colour = 0;       // index into the colour table
    int halfPoints = 24;  // \fs value
    bool centred = false;
};

// Reads the paragraphs of the small subset of rich text the panel uses: the font and colour
// tables (skipped), control words with an optional number, \'hh bytes, group braces and text.
std::vector<sParagraph> ReadParagraphs(const std::string& rtf) {
    static const std::regex kToken(
        R"(\{\\(?:fonttbl|colortbl)(?:[^{}]|\{[^{}]*\})*\})"  // tables: skipped
        R"(|\\'([0-9a-f]{2}))"                                // 1: escaped byte
        R"(|\\([a-z]+)(-?[0-9]+)? ?)"                         // 2, 3: control word
        R"(|[{}\r\n])"                                        // structure only
        R"(|([^\\]))");                                       // 4: text
    std::vector<sParagraph> paragraphs;
    sParagraph current;
    for (std::sregex_iterator it(rtf.begin(), rtf.end(), kToken), end; it != end; ++it) {
        const std::smatch& token = *it;
        const std::string word = token[2];
        const int number = token[3].matched ? std::stoi(token[3]) : 0;
        if (token[1].matched) {
            current.text += static_cast<char>(std::stoi(token[1], nullptr, 16));
        } else if (token[4].matched) {
            current.text += token[4].str();
        } else if (word == "par") {
            paragraphs.push_back(current);
            current.text.clear();
        } else if (word == "pard" || word == "qc") {
            current.centred = word == "qc";
        } else if (word == "cf" || word == "fs") {
            (word == "cf" ? current.colour : current.halfPoints) = number;
        }
    }
    paragraphs.push_back(current);
    return paragraphs;
}

TEST(InfoPanelText, HeaderDeclaresCodePageLanguageFontsAndColours) {
    const std::string_view rtf = InfoPanelTemplate();
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057")) << rtf;
    EXPECT_NE(
        rtf.find("{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}{\\f1\\fswiss\\fcharset0 Arial;}}"),
        std::string_view::npos);
    EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green255\\blue255;}"),
              std::string_view::npos);
    EXPECT_TRUE(rtf.ends_with("}"));
    int depth = 0;
    for (const char c : rtf) {
        depth += c == '{' ? 1 : (c == '}' ? -1 : 0);
        ASSERT_GE(depth, 0);
        // Anything beyond ASCII must be written as an escape, so the bytes survive any code page.
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
    EXPECT_EQ(depth, 0);
}

TEST(InfoPanelText, EightCentredParagraphsRedTitleThenWhiteText) {
    const std::vector<sParagraph> paragraphs = ReadParagraphs(std::string(InfoPanelTemplate()));
    const std::vector<std::string> texts = {
        "Lanternquill\x99 V1.16",
        "",
        "Lanternquill\x99 Tracker HUD for PKR.",
        "",
        "ALT - Show Stat Names. SHIFT - Quick Hide Stats",
        "For instructions, read README.txt in the program's folder.",
        "",
        "Database contains <<HANDS>> Hands on <<PLAYERS>> Players"};
    ASSERT_EQ(paragraphs.size(), texts.size());
    for (size_t n = 0; n < texts.size(); ++n) {
        SCOPED_TRACE(n + 1);
        EXPECT_EQ(paragraphs[n].text, texts[n]);
        EXPECT_TRUE(paragraphs[n].centred);
        EXPECT_EQ(paragraphs[n].colour, n == 0 ? 1 : 2);  // red, then white
        EXPECT_EQ(paragraphs[n].halfPoints, n == 0 ? 28 : 20);
    }
    EXPECT_NE(InfoPanelTemplate().find("Lanternquill\\'99 V1.16"), std::string_view::npos);
    EXPECT_NE(InfoPanelTemplate().find("Lanternquill\\'99 Tracker"), std::string_view::npos);
}

TEST(InfoPanelText, CountsAreBareDecimalDigits) {
    const auto lastParagraph = [](uint32_t hands, int32_t players) {
        return ReadParagraphs(InfoPanelText(hands, players)).back().text;
    };
    EXPECT_EQ(lastParagraph(0, 0), "Database contains 0 Hands on 0 Players");
    EXPECT_EQ(lastParagraph(123456, 789), "Database contains 123456 Hands on 789 Players");
    EXPECT_EQ(lastParagraph(UINT32_MAX, INT32_MAX),
              "Database contains 4294967295 Hands on 2147483647 Players");
    // Only the placeholders change.
    const std::string text = InfoPanelText(5, 6);
    EXPECT_EQ(text.find("<<"), std::string::npos);
    EXPECT_EQ(text.size(), InfoPanelTemplate().size() - 9 - 11 + 2);
}

// The buttons open the guide the archive puts beside Lanternquill.exe, wherever the player
// unzipped it, not a file of that name in whatever folder the program was started from.
TEST(InfoPanelText, UserGuideIsTheReadmeBesideTheProgram) {
    EXPECT_EQ(UserGuidePath("C:\\Games\\Lanternquill-1.16-win64\\Lanternquill.exe"),
              "C:\\Games\\Lanternquill-1.16-win64\\README.txt");
    EXPECT_EQ(UserGuidePath("\\\\server\\share\\Lanternquill.exe"),
              "\\\\server\\share\\README.txt");
    EXPECT_EQ(UserGuidePath("Z:/home/player/hud/Lanternquill.exe"),
              "Z:/home/player/hud/README.txt");
    // The last separator counts, whichever kind it is.
    EXPECT_EQ(UserGuidePath("C:/tools.v2\\hud/Lanternquill.exe"), "C:/tools.v2\\hud/README.txt");
    // UTF-8 folder names pass through byte for byte.
    EXPECT_EQ(UserGuidePath("C:\\J\xC3\xBCrgen\\\xE6\x89\x91\xE5\x85\x8B\\Lanternquill.exe"),
              "C:\\J\xC3\xBCrgen\\\xE6\x89\x91\xE5\x85\x8B\\README.txt");
    // Without a folder (the program's path unknown): the name alone.
    EXPECT_EQ(UserGuidePath("Lanternquill.exe"), "README.txt");
    EXPECT_EQ(UserGuidePath(""), "README.txt");
}

}  // namespace
