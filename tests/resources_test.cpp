// Checks the committed Windows resources without a Windows build: the overlay panel bitmaps as
// files, and the dialog templates of resources/Lanternquill.rc read as text against
// the layouts the program's code relies on (ids, control kinds, texts, positions, styles).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "LanternquillVersion.h"
#include "overlay/OptionTable.h"
#include "tests/TestSupport.h"

namespace {

std::string SourceFile(const std::string& relative) {
    return testing_support::ReadFile(std::string(LQ_SOURCE_DIR) + "/" + relative);
}

std::uint32_t U16(const std::string& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) {
        throw std::runtime_error("file ends inside a header");
    }
    return static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    return U16(bytes, at) | (U16(bytes, at + 2) << 16);
}

// ---- Bitmaps --------------------------------------------------------------------------------

struct sColour {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const sColour&, const sColour&) = default;
};

std::ostream& operator<<(std::ostream& out, const sColour& c) {
    return out << "RGB(" << c.r << "," << c.g << "," << c.b << ")";
}

constexpr sColour kBlack{0, 0, 0};
constexpr sColour kFill{11, 9, 33};
constexpr sColour kFrameMain{95, 92, 175};
constexpr sColour kFrameLightest{118, 116, 220};

bool Within(const sColour& c, const sColour& low, const sColour& high) {
    return c.r >= low.r && c.r <= high.r && c.g >= low.g && c.g <= high.g && c.b >= low.b &&
           c.b <= high.b;
}

bool IsLightEdge(const sColour& c) {
    return Within(c, kFrameMain, kFrameLightest);
}
bool IsInnerShadow(const sColour& c) {
    return Within(c, {33, 31, 72}, {38, 35, 79});
}

// An uncompressed 8-bit BMP, rows turned top to bottom.
struct sBitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::uint32_t paletteSize = 0;
    std::vector<sColour> pixels;
    [[nodiscard]] sColour At(int x, int y) const { return pixels.at(y * width + x); }
};

sBitmap ReadBitmap(const std::string& bytes) {
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
        throw std::runtime_error("not a BMP file");
    }
    sBitmap bitmap;
    const std::uint32_t pixelOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    bitmap.width = static_cast<int>(U32(bytes, 18));
    bitmap.height = static_cast<int>(U32(bytes, 22));
    bitmap.bitsPerPixel = static_cast<int>(U16(bytes, 28));
    if (bitmap.bitsPerPixel != 8 || U32(bytes, 30) != 0 || bitmap.height <= 0) {
        return bitmap;  // not the kind the tests expect; they report the header fields
    }
    bitmap.paletteSize = U32(bytes, 46) == 0 ? 256 : U32(bytes, 46);
    const std::size_t stride = (bitmap.width + 3) / 4 * 4;
    if (pixelOffset + stride * bitmap.height > bytes.size()) {
        throw std::runtime_error("pixel rows run past the end of the file");
    }
    for (int y = 0; y < bitmap.height; ++y) {
        const std::size_t row = pixelOffset + stride * (bitmap.height - 1 - y);  // bottom-up
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint32_t index = static_cast<std::uint8_t>(bytes[row + x]);
            if (index >= bitmap.paletteSize) {
                throw std::runtime_error("pixel refers past the palette");
            }
            const std::size_t entry = 14 + headerSize + index * 4;  // blue, green, red, 0
            bitmap.pixels.push_back({static_cast<std::uint8_t>(bytes[entry + 2]),
                                     static_cast<std::uint8_t>(bytes[entry + 1]),
                                     static_cast<std::uint8_t>(bytes[entry])});
        }
    }
    return bitmap;
}

struct sPanelCase {
    const char* file;
    int height;
};

void PrintTo(const sPanelCase& panel, std::ostream* out) {
    *out << panel.file;
}

class PanelBitmap : public testing::TestWithParam<sPanelCase> {
protected:
    void SetUp() override { m_bitmap = ReadBitmap(SourceFile(GetParam().file)); }
    sBitmap m_bitmap;
};

TEST_P(PanelBitmap, IsA256ColourBitmapOfThePanelSize) {
    EXPECT_EQ(m_bitmap.width, 122);
    EXPECT_EQ(m_bitmap.height, GetParam().height);
    EXPECT_EQ(m_bitmap.bitsPerPixel, 8);
    EXPECT_EQ(m_bitmap.paletteSize, 256u);
}

TEST_P(PanelBitmap, HasFiftyBlackPixelsAllAtTheCorners) {
    ASSERT_EQ(m_bitmap.pixels.size(), 122u * GetParam().height);
    int black = 0;
    for (int y = 0; y < m_bitmap.height; ++y) {
        for (int x = 0; x < m_bitmap.width; ++x) {
            if (m_bitmap.At(x, y) == kBlack) {
                ++black;
                const int fromSide = std::min(x, m_bitmap.width - 1 - x);
                const int fromEnd = std::min(y, m_bitmap.height - 1 - y);
                EXPECT_TRUE(fromSide < 6 && fromEnd < 6) << "black pixel at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(black, 50);
    // The corner pixels themselves are cut off, so the colour key rounds all four corners.
    for (const auto& [x, y] :
         {std::pair{0, 0}, {121, 0}, {0, m_bitmap.height - 1}, {121, m_bitmap.height - 1}}) {
        EXPECT_EQ(m_bitmap.At(x, y), kBlack);
    }
}

TEST_P(PanelBitmap, NavyInsideAThreePixelBlueVioletFrame) {
    ASSERT_EQ(m_bitmap.pixels.size(), 122u * GetParam().height);
    const int midX = m_bitmap.width / 2;
    const int midY = m_bitmap.height / 2;
    EXPECT_EQ(m_bitmap.At(midX, midY), kFill);
    // Across each side: light edge, main tone, inner shadow, then the fill.
    const sColour top[] = {m_bitmap.At(midX, 0), m_bitmap.At(midX, 1), m_bitmap.At(midX, 2),
                           m_bitmap.At(midX, 3)};
    EXPECT_EQ(top[0], kFrameLightest);
    EXPECT_EQ(top[1], kFrameMain);
    EXPECT_TRUE(IsInnerShadow(top[2])) << top[2];
    EXPECT_EQ(top[3], kFill);
    const int bottom = m_bitmap.height - 1;
    const int right = m_bitmap.width - 1;
    for (const auto& [outer, inner] :
         {std::pair{m_bitmap.At(0, midY), m_bitmap.At(3, midY)},
          {m_bitmap.At(right, midY), m_bitmap.At(right - 3, midY)},
          {m_bitmap.At(midX, bottom), m_bitmap.At(midX, bottom - 3)}}) {
        EXPECT_TRUE(IsLightEdge(outer)) << outer;
        EXPECT_EQ(inner, kFill);
    }
    // No colour outside the design's ranges anywhere.
    for (const sColour& c : m_bitmap.pixels) {
        EXPECT_TRUE(c == kBlack || c == kFill || IsLightEdge(c) || IsInnerShadow(c)) << c;
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, PanelBitmap,
                         testing::Values(sPanelCase{"resources/panel_small.bmp", 39},
                                         sPanelCase{"resources/panel_tall.bmp", 52}),
                         [](const testing::TestParamInfo<sPanelCase>& info) {
                             return info.param.height == 39 ? "Small" : "Tall";
                         });

// ---- Resource script ------------------------------------------------------------------------

// "#define NAME VALUE" lines of resource.h, plus the two ids windows.h gives the script.
std::map<std::string, int> ReadIds() {
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}};
    std::istringstream header(SourceFile("resources/resource.h"));
    std::string line;
    while (std::getline(header, line)) {
        std::istringstream words(line);
        std::string directive;
        std::string name;
        std::string value;
        if (words >> directive >> name >> value && directive == "#define") {
            if (value.front() == '(' && value.back() == ')') {
                value = value.substr(1, value.size() - 2);
            }
            ids[name] = std::stoi(value);
        }
    }
    return ids;
}

// Decodes a quoted resource script string: "" and \" quotes, \n, \\ and octal escapes.
std::string UnquoteOne(const std::string& token) {
    std::string text;
    for (std::size_t i = 1; i + 1 < token.size(); ++i) {
        if (token[i] == '"') {
            text += token[++i];  // "" stands for one quote
            continue;
        }
        if (token[i] != '\\') {
            text += token[i];
            continue;
        }
        const char escape = token[++i];
        if (escape == 'n') {
            text += '\n';
        } else if (escape >= '0' && escape <= '7') {
            text += static_cast<char>(std::stoi(token.substr(i, 3), nullptr, 8));
            i += 2;
        } else {
            text += escape;
        }
    }
    return text;
}

// A string argument: quoted strings and the version macros the script includes, side by side
// as the resource compiler joins them ("Lanternquill\231 V" LQ_VERSION_TEXT).
std::string Unquote(const std::string& token) {
    const std::map<std::string, std::string> macros = {{"LQ_VERSION_TEXT", LQ_VERSION_TEXT}};
    std::string text;
    std::size_t i = 0;
    while (i < token.size()) {
        if (token[i] == ' ') {
            ++i;
        } else if (token[i] == '"') {
            std::size_t end = i + 1;  // the closing quote; "" and \" stay inside
            while (end < token.size() && token[end] != '"') {
                end += token[end] == '\\' ? 2 : 1;
                if (end + 1 < token.size() && token[end] == '"' && token[end + 1] == '"') {
                    end += 2;
                }
            }
            text += UnquoteOne(token.substr(i, end + 1 - i));
            i = end + 1;
        } else {
            const std::size_t end = std::min(token.find(' ', i), token.size());
            text += macros.at(token.substr(i, end - i));  // an unknown name fails the test
            i = end;
        }
    }
    return text;
}

// Splits at commas outside quoted strings and trims each part.
std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (c == ',' && !quoted) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    for (std::string& part : parts) {
        part.erase(0, part.find_first_not_of(" \t"));
        part.erase(part.find_last_not_of(" \t\r") + 1);
    }
    return parts;
}

struct sControl {
    std::string kind;  // statement keyword; a CONTROL statement adds its window class
    int id = 0;
    std::string text;  // decoded; a resource reference as its number
    int x = 0, y = 0, w = 0, h = 0;
    std::string style;
};

struct sTemplate {
    int width = 0;
    int height = 0;
    std::string style, exStyle, caption, font;
    std::vector<sControl> controls;
};

class ResourceScript {
public:
    ResourceScript() : m_ids(ReadIds()) {
        std::istringstream script(SourceFile("resources/Lanternquill.rc"));
        std::string line;
        sTemplate* current = nullptr;
        bool inBody = false;
        while (std::getline(script, line)) {
            line.erase(0, line.find_first_not_of(" \t"));
            std::istringstream words(line);
            std::string first;
            std::string second;
            words >> first >> second;
            if (second == "DIALOGEX") {
                current = &m_templates[Id(first)];
                const auto size = SplitArguments(line.substr(line.find("DIALOGEX") + 8));
                current->width = std::stoi(size.at(2));
                current->height = std::stoi(size.at(3));
                inBody = false;
            } else if (current == nullptr || first.empty() || first.starts_with("//")) {
                continue;
            } else if (first == "BEGIN") {
                inBody = true;
            } else if (first == "END") {
                current = nullptr;
            } else if (inBody) {
                current->controls.push_back(ReadControl(first, line.substr(first.size())));
            } else {
                ReadHeaderLine(*current, first, line.substr(first.size() + 1));
            }
        }
    }

    [[nodiscard]] const std::map<int, sTemplate>& Templates() const { return m_templates; }
    [[nodiscard]] const std::map<std::string, int>& Ids() const { return m_ids; }

private:
    int Id(const std::string& token) const {
        const auto found = m_ids.find(token);
        return found != m_ids.end() ? found->second : std::stoi(token);
    }

    static void ReadHeaderLine(sTemplate& t, std::string_view keyword, const std::string& rest) {
        if (keyword == "STYLE") {
            t.style = rest;
        } else if (keyword == "EXSTYLE") {
            t.exStyle = rest;
        } else if (keyword == "CAPTION") {
            t.caption = Unquote(rest);
        } else if (keyword == "FONT") {
            t.font = rest;
        }
    }

    std::string Text(const std::string& token) const {
        return token.starts_with('"') ? Unquote(token) : std::to_string(Id(token));
    }

    // Control statements: KIND "text", id, x, y, w, h [, style]; the list, combo and edit
    // kinds have no text; CONTROL "text", id, "class", style, x, y, w, h.
    sControl ReadControl(std::string_view keyword, const std::string& arguments) const {
        const std::vector<std::string> a = SplitArguments(arguments);
        sControl control;
        control.kind = keyword;
        std::size_t at = 0;
        if (keyword != "LISTBOX" && keyword != "COMBOBOX" && keyword != "EDITTEXT") {
            control.text = Text(a.at(at++));
        }
        control.id = Id(a.at(at++));
        if (keyword == "CONTROL") {
            control.kind += " " + Unquote(a.at(at++));
            control.style = a.at(at++);
        }
        control.x = std::stoi(a.at(at++));
        control.y = std::stoi(a.at(at++));
        control.w = std::stoi(a.at(at++));
        control.h = std::stoi(a.at(at++));
        if (at < a.size()) {
            control.style = a[at];
        }
        return control;
    }

    std::map<std::string, int> m_ids;
    std::map<int, sTemplate> m_templates;
};

const ResourceScript& Script() {
    static const ResourceScript script;
    return script;
}

struct sExpectedTemplate {
    int id;
    int width, height;
    const char* caption;
    const char* style;
    const char* exStyle;
};

TEST(ResourceScript, TemplatesHaveTheirSizeCaptionStylesAndFont) {
    const sExpectedTemplate expected[] = {
        {102, 114, 98, "Lanternquill\x99 V1.16",
         "DS_SHELLFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU",
         "WS_EX_APPWINDOW | WS_EX_TOOLWINDOW"},
        {129, 153, 51, "Lanternquill Table Settings",
         "DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX",
         "WS_EX_TOOLWINDOW | WS_EX_TOPMOST"},
        {130, 81, 24, "", "DS_SHELLFONT | WS_POPUP", "WS_EX_TOOLWINDOW | WS_EX_TOPMOST"},
        {134, 110, 102, "Mini-Table Hot Zone",
         "DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_THICKFRAME",
         "WS_EX_TOOLWINDOW | WS_EX_TOPMOST"},
        // Centred on the screen, as they open with no owner to place them by.
        {137, 240, 241, "Lanternquill Options",
         "DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU", ""},
        {100, 314, 177, "Lanternquill\x99 Information Panel",
         "DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU", ""},
    };
    ASSERT_EQ(Script().Templates().size(), std::size(expected));
    for (const sExpectedTemplate& e : expected) {
        SCOPED_TRACE("template " + std::to_string(e.id));
        ASSERT_EQ(Script().Templates().count(e.id), 1u);
        const sTemplate& t = Script().Templates().at(e.id);
        EXPECT_EQ(t.width, e.width);
        EXPECT_EQ(t.height, e.height);
        EXPECT_EQ(t.caption, e.caption);
        EXPECT_EQ(t.style, e.style);
        EXPECT_EQ(t.exStyle, e.exStyle);
        EXPECT_EQ(t.font, "8, \"MS Shell Dlg\", 400, 0, 0x1");
    }
    EXPECT_TRUE(Script().Templates().at(130).controls.empty());
}

struct sExpectedControl {
    int templateId;
    int id;
    const char* kind;
    const char* text;
    int x, y, w, h;
    const char* styleHas = "";  // a fragment the style expression must contain
};

const char* const kHotZoneText =
    "Drag and resize this window to\nFULLY cover the top PKR table mini-view 3D area and\n"
    "press OK.";

// Every control of every dialog, in template order.
const std::vector<sExpectedControl> kControls = {
    {102, 1002, "CONTROL msctls_progress32", "", 0, 0, 114, 6},
    {102, 1021, "AUTOCHECKBOX", "Auto Switch", 6, 8, 52, 10},
    {102, 1017, "AUTOCHECKBOX", "Multi-table", 63, 8, 46, 10},
    {102, 1022, "AUTOCHECKBOX", "Shrink", 6, 18, 52, 10},
    {102, 1024, "AUTOCHECKBOX", "Hide", 63, 18, 46, 10},
    {102, 1005, "LISTBOX", "", 2, 31, 88, 37, "LBS_NOTIFY"},
    {102, 1018, "PUSHBUTTON", "^", 92, 30, 19, 11},
    {102, 1016, "PUSHBUTTON", "X", 92, 43, 19, 11},
    {102, 1019, "PUSHBUTTON", "v", 92, 57, 19, 11},
    {102, 1020, "PUSHBUTTON", "Table Settings", 2, 70, 54, 12},
    {102, 1015, "PUSHBUTTON", "Hot Zones", 58, 70, 54, 12},
    {102, 1031, "PUSHBUTTON", "Options", 2, 84, 54, 12},
    {102, 1023, "PUSHBUTTON", "Information", 58, 84, 54, 12},
    {129, 1010, "COMBOBOX", "", 6, 5, 140, 98, "CBS_DROPDOWNLIST"},
    {129, 1018, "AUTORADIOBUTTON", "Headsup", 11, 22, 44, 10, "WS_GROUP"},
    {129, 1019, "AUTORADIOBUTTON", "6 max", 59, 22, 35, 10},
    {129, 1020, "AUTORADIOBUTTON", "Full Ring", 98, 22, 43, 10},
    {129, 1014, "LTEXT", " Showing 6 max stats", 0, 38, 153, 12, "SS_SUNKEN"},
    {129, 1012, "PUSHBUTTON", "Save Layout", 30, 19, 52, 12, "NOT WS_VISIBLE"},
    {129, 1013, "PUSHBUTTON", "OK", 94, 19, 52, 12, "NOT WS_VISIBLE"},
    {134, 1, "DEFPUSHBUTTON", "OK", 3, 4, 50, 14},
    {134, 2, "PUSHBUTTON", "Cancel", 56, 4, 50, 14},
    {134, -1, "CTEXT", kHotZoneText, 3, 21, 103, 74},
    {137, -1, "GROUPBOX", "Main Settings", 7, 7, 226, 59},
    {137, 1032, "AUTOCHECKBOX", "Separate stats for each blind level (cash games)", 10, 17, 170,
     10},
    {137, 1033, "AUTOCHECKBOX", "Use transparent HUD windows (may slow PKR)", 10, 28, 165, 10},
    {137, 1035, "AUTOCHECKBOX", "Main Window Always On Top", 10, 40, 108, 10},
    {137, -1, "LTEXT", "Ignore hand history older than ", 21, 53, 101, 8},
    {137, 1049, "EDITTEXT", "", 124, 49, 27, 14, "ES_CENTER | ES_NUMBER"},
    {137, -1, "LTEXT", "weeks old", 157, 53, 32, 8},
    {137, -1, "GROUPBOX", "Statistics Shown - for help hold ALT during play", 7, 70, 226, 44},
    {137, -1, "RTEXT", "Main Stats:", 19, 83, 41, 8},
    {137, 1040, "AUTOCHECKBOX", "VPIP", 65, 80, 31, 10},
    {137, 1041, "AUTOCHECKBOX", "PFR", 101, 80, 29, 10},
    {137, 1042, "AUTOCHECKBOX", "WTSD", 135, 80, 35, 10},
    {137, 1043, "AUTOCHECKBOX", "W$SD", 175, 80, 35, 10},
    {137, 1047, "AUTOCHECKBOX", "3bet", 101, 91, 31, 10},
    {137, 1048, "AUTOCHECKBOX", "ft3bet", 135, 91, 36, 10},
    {137, -1, "RTEXT", "Hover Stats:", 11, 104, 49, 8},
    {137, 1044, "AUTOCHECKBOX", "cbet", 65, 103, 30, 10},
    {137, 1045, "AUTOCHECKBOX", "ftcbet", 101, 103, 35, 10},
    {137, 1046, "AUTOCHECKBOX", "AgFr", 135, 103, 31, 10},
    {137, -1, "GROUPBOX", "Actions - Check required actions and press OK", 7, 124, 226, 39},
    {137, 1036, "AUTOCHECKBOX", "Reload all hand history. Use if you import new history files.", 10,
     138, 226, 10},
    {137, 1037, "AUTOCHECKBOX", "Create troubleshooting log file.", 10, 149, 226, 10},
    {137, -1, "GROUPBOX", "Hand history folder", 7, 167, 226, 46},
    {137, 1050, "LTEXT", "", 12, 179, 216, 10, "SS_PATHELLIPSIS"},
    {137, 1051, "PUSHBUTTON", "Browse...", 12, 193, 50, 14},
    {137, 1052, "PUSHBUTTON", "PKR client's folder", 66, 193, 80, 14},
    {137, 1, "DEFPUSHBUTTON", "OK", 129, 220, 50, 14},
    {137, 2, "PUSHBUTTON", "Cancel", 183, 220, 50, 14},
    {100, 1037, "CONTROL RichEdit50W", "", 7, 7, 300, 124,
     "ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER"},
    {100, 1029, "DEFPUSHBUTTON", "Visit Quillworks", 7, 134, 97, 14},
    {100, 1032, "PUSHBUTTON", "Email Support", 107, 134, 97, 14},
    {100, 1033, "PUSHBUTTON", "Check for Updates..", 210, 134, 97, 14},
    {100, -1, "CONTROL Static", "128", 195, 154, 20, 20, "SS_ICON"},
    {100, 1031, "LTEXT", " Lanternquill\x99 v1.16\n\xA9 2026 Quillworks", 221, 155, 87, 17},
};

TEST(ResourceScript, EveryControlMatchesItsLayout) {
    std::map<int, std::size_t> next;  // next control index per template
    for (const sExpectedControl& e : kControls) {
        SCOPED_TRACE("template " + std::to_string(e.templateId) + ", control " +
                     std::to_string(e.id) + " \"" + e.text + "\"");
        const auto& controls = Script().Templates().at(e.templateId).controls;
        const std::size_t index = next[e.templateId]++;
        ASSERT_LT(index, controls.size());
        const sControl& c = controls[index];
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ((std::vector{c.x, c.y, c.w, c.h}), (std::vector{e.x, e.y, e.w, e.h}));
        EXPECT_TRUE(c.style.find(e.styleHas) != std::string::npos)
            << "style \"" << c.style << "\" lacks \"" << e.styleHas << "\"";
    }
    for (const auto& [id, t] : Script().Templates()) {
        EXPECT_EQ(t.controls.size(), next[id]) << "controls in template " << id;
    }
}

TEST(ResourceScript, ControlsFitTheirDialogAndIdsAreUnique) {
    for (const auto& [templateId, t] : Script().Templates()) {
        std::map<int, int> uses;
        for (const sControl& c : t.controls) {
            SCOPED_TRACE("template " + std::to_string(templateId) + ", control " +
                         std::to_string(c.id));
            if (c.id != -1) {
                EXPECT_EQ(++uses[c.id], 1) << "id used twice";
            }
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_LE(c.x + c.w, t.width);
            if (c.kind != "COMBOBOX") {  // a drop-down list's height includes its open list
                EXPECT_LE(c.y + c.h, t.height);
            }
        }
    }
}

TEST(ResourceScript, OptionsDialogHasACheckBoxForEveryOptionAndNoOther) {
    const sTemplate& options = Script().Templates().at(Script().Ids().at("IDD_OPTIONS"));
    std::set<int> checkBoxes;
    std::set<int> edits;
    for (const sControl& c : options.controls) {
        if (c.kind == "AUTOCHECKBOX") {
            checkBoxes.insert(c.id);
        } else if (c.kind == "EDITTEXT") {
            edits.insert(c.id);
        }
    }
    EXPECT_EQ(checkBoxes, std::set<int>(kCheckBoxIds.begin(), kCheckBoxIds.end()));
    EXPECT_EQ(edits, std::set<int>{kWeeksOption.controlId});
}

TEST(ResourceScript, EmbedsTheIconBitmapsAndManifest) {
    const std::string script = SourceFile("resources/Lanternquill.rc");
    for (const char* line :
         {"IDR_MAINFRAME ICON \"Lanternquill.ico\"", "IDB_PANEL_SMALL BITMAP \"panel_small.bmp\"",
          "IDB_PANEL_TALL BITMAP \"panel_tall.bmp\"",
          "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"Lanternquill.manifest\"",
          "#pragma code_page(1252)", "VS_VERSION_INFO VERSIONINFO"}) {
        EXPECT_NE(script.find(line), std::string::npos) << line;
    }
    for (const auto& [name, value] : std::map<std::string, int>{
             {"IDR_MAINFRAME", 128}, {"IDB_PANEL_SMALL", 131}, {"IDB_PANEL_TALL", 132}}) {
        ASSERT_EQ(Script().Ids().count(name), 1u) << name;
        EXPECT_EQ(Script().Ids().at(name), value) << name;
    }
    const std::string manifest = SourceFile("resources/Lanternquill.manifest");
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
}

}  // namespace
