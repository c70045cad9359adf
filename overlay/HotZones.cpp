#include "overlay/HotZones.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

sRect ReadHotZone(ISettingsStore& store, const std::string& section, const sRect& defaults) {
    sRect zone;
    zone.left = store.ReadInt(section, "L", defaults.left);
    zone.right = store.ReadInt(section, "R", defaults.right);
    zone.top = store.ReadInt(section, "T", defaults.top);
    zone.bottom = store.ReadInt(section, "B", defaults.bottom);
    return zone;
}

void WriteHotZone(ISettingsStore& store, const std::string& section, const sRect& zone) {
    store.WriteInt(section, "L", zone.left);
    store.WriteInt(section, "R", zone.right);
    store.WriteInt(section, "T", zone.top);
    store.WriteInt(section, "B", zone.bottom);
}

}  // namespace

std::string HotZoneSection(int screenWidth, int screenHeight) {
    return "HotZone" + std::to_string(screenWidth) + "x" + std::to_string(screenHeight);
}

HotZoneArray StackHotZones(const sRect& zone0) {
    HotZoneArray zones{};
    const int64_t height = zone0.Height();
    for (int k = 0; k < kHotZoneCount; ++k) {
        zones[k] = sRect{zone0.left, ClampToInt32(zone0.top + k * height), zone0.right,
                         ClampToInt32(zone0.bottom + k * height)};
    }
    return zones;
}

HotZoneArray LoadHotZones(ISettingsStore& store, int screenWidth, int screenHeight,
                          int mainWindowWidth) {
    const std::string section = HotZoneSection(screenWidth, screenHeight);
    // The right screen edge with room for one main window's width, from just below the top.
    const sRect defaults{ClampToInt32(int64_t{screenWidth} - mainWindowWidth), 30, screenWidth,
                         screenHeight / 6 + 44};
    sRect zone = ReadHotZone(store, section, defaults);
    // Only a zone starting right of or below the screen is replaced; a zone reaching past the
    // edges is kept, and the scan copes with it.
    if (zone.left > screenWidth || zone.top > screenHeight) {
        zone = defaults;
    }
    WriteHotZone(store, section, zone);
    return StackHotZones(zone);
}

sRect ReadHotZoneForDialog(ISettingsStore& store, int screenWidth, int screenHeight,
                           int mainWindowWidth) {
    const sRect defaults{ClampToInt32(int64_t{screenWidth} - mainWindowWidth), 32, screenWidth,
                         screenHeight / 6 + 32};
    return ReadHotZone(store, HotZoneSection(screenWidth, screenHeight), defaults);
}

sHotZoneDialogPlacement PlaceHotZoneDialog(const sRect& zone, sSize screen) {
    const auto [screenWidth, screenHeight] = screen;
    const int64_t width = zone.Width();
    const int64_t height = zone.Height();
    int64_t x = zone.right > screenWidth ? screenWidth - width : zone.left;
    int64_t y = zone.bottom > screenHeight ? screenHeight - height : zone.top;
    x = std::max<int64_t>(x, 0);
    y = std::max<int64_t>(y, 0);
    return sHotZoneDialogPlacement{ClampToInt32(x), ClampToInt32(y), ClampToInt32(width),
                                   ClampToInt32(height)};
}

HotZoneArray SaveHotZone(ISettingsStore& store, int screenWidth, int screenHeight,
                         const sRect& chosen) {
    WriteHotZone(store, HotZoneSection(screenWidth, screenHeight), chosen);
    return StackHotZones(chosen);
}
