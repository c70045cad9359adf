#include "StandinOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "hud/Layouts.h"

namespace standin {

namespace {

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<sRect> ParseRect(const std::string& text) {
    int values[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos) {
            return std::nullopt;
        }
        const auto value = ParseInt(text.substr(start, comma - start));
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
        start = comma + 1;
    }
    if (values[2] <= values[0] || values[3] <= values[1]) {
        return std::nullopt;
    }
    return sRect{values[0], values[1], values[2], values[3]};
}

bool ParseZoneList(const std::string& text, std::array<uint32_t, 4>& zones) {
    size_t start = 0;
    for (size_t i = 0; i < zones.size(); ++i) {
        const size_t comma = text.find(',', start);
        const auto colour = ParseColour(text.substr(start, comma - start));
        if (!colour) {
            return false;
        }
        zones[i] = *colour;
        if (comma == std::string::npos) {
            return i == zones.size() - 1;
        }
        start = comma + 1;
    }
    return false;
}

}  // namespace

std::optional<uint32_t> ParseColour(const std::string& text) {
    if (text == "white") {
        return kWhite;
    }
    if (text == "grey" || text == "gray") {
        return kGrey;
    }
    if (text == "dark") {
        return kDark;
    }
    if (text.size() == 7 && text[0] == '#') {
        uint32_t rgb = 0;
        const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
        if (ec != std::errc() || end != text.data() + 7) {
            return std::nullopt;
        }
        // #RRGGBB as written on the web, kept as 0x00BBGGRR like the screen's pixels.
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    return std::nullopt;
}

bool ParseOptions(const std::vector<std::string>& args, sOptions& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](size_t n) -> const std::string* {
            if (i + n >= args.size()) {
                error = arg + " needs " + std::to_string(n) + " value(s)";
                return nullptr;
            }
            i += n;
            return &args[i - n + 1];
        };
        if (arg == "--help" || arg == "-h") {
            options.mode = eMode::Help;
        } else if (arg == "--quit") {
            options.mode = eMode::Quit;
        } else if (arg == "--activate") {
            options.mode = eMode::Activate;
        } else if (arg == "--zones") {
            const std::string* list = value(1);
            if (list == nullptr) {
                return false;
            }
            if (!ParseZoneList(*list, options.zones)) {
                error = "--zones needs four colours, e.g. white,dark,grey,dark";
                return false;
            }
        } else if (arg == "--main-width") {
            const std::string* text = value(1);
            const auto width = text != nullptr ? ParseInt(*text) : std::nullopt;
            if (!width || *width < 1) {
                error = "--main-width needs a width in pixels";
                return false;
            }
            options.mainWidth = *width;
        } else if (arg == "--zone" || arg == "--table") {
            const std::string* text = value(1);
            std::optional<sRect>& rect = arg == "--zone" ? options.topZone : options.table;
            rect = text != nullptr ? ParseRect(*text) : std::nullopt;
            if (!rect) {
                error = arg + " needs LEFT,TOP,RIGHT,BOTTOM of the " +
                        (arg == "--zone" ? "top zone" : "table window");
                return false;
            }
        } else if (arg == "--set") {
            const std::string* first = value(2);
            if (first == nullptr) {
                return false;
            }
            const auto zone = ParseInt(*first);
            const auto colour = ParseColour(*(first + 1));
            if (!zone || *zone < 0 || *zone > 3 || !colour) {
                error = "--set needs a zone 0..3 and a colour (white, grey, dark or #RRGGBB)";
                return false;
            }
            options.mode = eMode::Set;
            options.setZone = *zone;
            options.setColour = *colour;
        } else {
            error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    return true;
}

std::array<sRect, 4> StackedZones(const sRect& top) {
    std::array<sRect, 4> zones;
    const int height = top.bottom - top.top;
    for (int k = 0; k < 4; ++k) {
        zones[k] = {top.left, top.top + k * height, top.right, top.bottom + k * height};
    }
    return zones;
}

std::array<sRect, 4> DefaultZones(int screenWidth, int screenHeight, int mainWidth) {
    return StackedZones({screenWidth - mainWidth, 30, screenWidth, screenHeight / 6 + 44});
}

sRect DefaultTableRect(int screenHeight, int zoneLeft) {
    return {0, 0, std::max(zoneLeft, 680), std::max(screenHeight - kDefaultTaskbarHeight, 420)};
}

std::string Usage() {
    return "Usage: pkr-standin [--zones C0,C1,C2,C3] [--main-width M | --zone L,T,R,B]\n"
           "                   [--table L,T,R,B]\n"
           "       pkr-standin --set ZONE COLOUR | --activate | --quit\n"
           "A stand-in for the PKR client: a main window of class \"PKR\" and four mini-table\n"
           "views stacked at the right edge of the screen over the HUD's default hot zones.\n"
           "Colours: white, grey, dark or #RRGGBB. Started, it prints the zones it covers.\n"
           "  --zones LIST       the views' colours at start (default dark,dark,dark,dark)\n"
           "  --main-width M     the HUD main window's outer width the zones follow (default 180)\n"
           "  --zone L,T,R,B     the top zone outright (e.g. the stored hot zone)\n"
           "  --table L,T,R,B    the table window (default: the area the default overlay\n"
           "                     layouts assume, left of the views, above the taskbar)\n"
           "  --set ZONE COLOUR  recolours a view of the running stand-in\n"
           "  --activate         brings the running stand-in's main window to the foreground\n"
           "  --quit             closes the running stand-in\n";
}

}  // namespace standin
