// The stand-in PKR client's command line and the geometry of its mini-table views. Plain C++ so
// the rules read the same as the main program's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

struct sRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Colours as 0x00BBGGRR. White counts as white (and grey) for the automatic switching, grey only
// as grey, dark as neither.
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kGrey = 0x7E7E7E;
inline constexpr uint32_t kDark = 0x203010;

enum class eMode { Run, Set, Quit, Activate, Help };

struct sOptions {
    eMode mode = eMode::Run;
    std::array<uint32_t, 4> zones{kDark, kDark, kDark, kDark};
    int mainWidth = 180;           // the HUD main window's outer width M
    std::optional<sRect> topZone;  // zone 0 given outright instead of the defaults
    std::optional<sRect> table;    // the table window given outright (DefaultTableRect otherwise)
    int setZone = 0;               // --set ZONE COLOUR
    uint32_t setColour = 0;
};

// "white", "grey"/"gray", "dark" or "#RRGGBB".
std::optional<uint32_t> ParseColour(const std::string& text);

// Reads the arguments (without the program name); false with `error` set when they are wrong.
bool ParseOptions(const std::vector<std::string>& args, sOptions& options, std::string& error);

// The four stacked zones the HUD uses by default on a W x H screen beside a main window M pixels
// wide: zone 0 = (W - M, 30, W, H / 6 + 44), each next one directly below, equally tall.
std::array<sRect, 4> DefaultZones(int screenWidth, int screenHeight, int mainWidth);
// The table window as the default overlay layouts assume it: from the top left corner to the
// mini-table column (`zoneLeft`), down to the taskbar the program allows for.
sRect DefaultTableRect(int screenHeight, int zoneLeft);

// Four zones stacked from a given top zone.
std::array<sRect, 4> StackedZones(const sRect& top);

std::string Usage();

}  // namespace standin
