// Overlay layouts of a table HUD: the environment catalogue, the 240 position value names, the
// choice of layout from the table settings window, and the placing and saving of the ten seat
// overlays through the settings store. Plain numbers in and out: the caller reads its controls
// and the screen, and moves its overlay windows to the corners returned here; nothing in this
// file touches a window. The catalogue is constant data and the value names are built once, on
// first use; both are then shared read-only by every HUD.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

class ISettingsStore;
class ITaskbar;

inline constexpr int kSeatCount = 10;

// The table size a layout is for (m_nLayoutSize). LAYOUT_UNKNOWN until the seat reader or the
// user chose one.
enum eLayoutSize : int {
    LAYOUT_HEADSUP = 0,
    LAYOUT_SIXMAX = 1,
    LAYOUT_FULLRING = 2,
    LAYOUT_UNKNOWN = 3
};

// ---- Environment catalogue ----

struct sEnvironment {
    std::string_view listText;                     // text in the environment drop-down (1010)
    int layoutNumber;                              // L in the value names: 1 or 2
    std::span<const std::string_view> tableNames;  // PKR table names, in catalogue order
};

inline constexpr int kEnvironmentCount = 2;

// Environment 0 ("Bar/Club Metro/Paradise Island", 117 names) and 1 ("All other environments",
// 155 names), duplicates included.
[[nodiscard]] const std::array<sEnvironment, kEnvironmentCount>& EnvironmentCatalogue();

// The environment index whose list holds a name the table's name begins with (case-sensitive);
// when both match, environment 1. 0 when none matches.
[[nodiscard]] int EnvironmentForTable(std::string_view tableName);

// ---- Position value names ----

inline constexpr int kLayoutSetCount = 2;  // 0 "S" single-table, 1 "M" multi-table
inline constexpr int kPositionValueCount = 240;

// "%s_%s_L%d_S%d%c": set ("S"/"M"), size ("HU"/"6M"/"FR"), environment L (1, 2), seat (1..10),
// axis ('x'/'y'). Built once and shared by all HUDs.
[[nodiscard]] const std::array<std::string, kPositionValueCount>& OverlayPositionNames();

// Index of the name for (multiTable, layout size 0..2, environment L 1..2, seat 1..10, axis 0 x
// / 1 y): axis + 2(seat-1) + 20(L-1) + 40 size + 120 set.
[[nodiscard]] constexpr std::size_t PositionNameIndex(bool multiTable, int layoutSize,
                                                      int layoutNumber, int seat, int axis) {
    const int index = axis + 2 * (seat - 1) + 20 * (layoutNumber - 1) + 40 * layoutSize +
                      120 * (multiTable ? 1 : 0);
    return static_cast<std::size_t>(index);
}

// "OverlayPos_%dx%d" for a screen of width x height pixels.
[[nodiscard]] std::string OverlayPositionSection(int width, int height);

// ---- Choosing the layout ----

struct sScreenSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const sScreenSize&, const sScreenSize&) = default;
};

struct sLayoutChoice {
    bool multiTable = false;  // layout set "M"
    int layoutSize = LAYOUT_FULLRING;
    int environment = 0;       // catalogue index; always 1 for full ring
    int positionedSeats = 10;  // seats 1..n are placed and saved: 2, 6 or 10

    [[nodiscard]] int LayoutNumber() const { return environment + 1; }
    // Seats 1..n that are placed and saved, at most ten.
    [[nodiscard]] int PositionedSeats() const {
        return positionedSeats < kSeatCount ? positionedSeats : kSeatCount;
    }
    // Value name of `seat` (1..10) and `axis` (0 x, 1 y) in this layout.
    [[nodiscard]] const std::string& ValueName(int seat, int axis) const;
};

// The layout the table settings window shows. `selectedEnvironment` is the drop-down's
// selection (-1 none: no layout, nothing to do); `checkedRadio` is the first checked size radio
// button as a layout size (-1 none: `layoutSize` is kept and all ten seats are positioned).
// A checked radio button is stored into `layoutSize`; full ring always uses environment 1.
[[nodiscard]] std::optional<sLayoutChoice> ChooseLayout(int selectedEnvironment, int checkedRadio,
                                                        bool multiTable, int& layoutSize);

// The size radio button to check for m_nLayoutSize: heads-up and six-max their own, anything
// else (full ring, still unknown) full ring.
[[nodiscard]] constexpr int RadioForLayoutSize(int layoutSize) {
    return layoutSize == LAYOUT_HEADSUP || layoutSize == LAYOUT_SIXMAX ? layoutSize
                                                                       : LAYOUT_FULLRING;
}

// ---- Placing and saving ----

// Seat 1's stored x equal to this means "no layout for this resolution".
inline constexpr int32_t kNoLayoutMarker = 1234;
// The x to store for seat 1: an overlay that really stands at the marker's x is stored one pixel
// to its left, so that the layout it belongs to is not taken for missing.
[[nodiscard]] constexpr int32_t StorableSeatOneX(int32_t x) {
    return x == kNoLayoutMarker ? x - 1 : x;
}
inline constexpr int kDefaultTaskbarHeight = 32;
// The height the default layouts keep free for the taskbar; a fitted layout is stretched by the
// real taskbar's height against it.
inline constexpr int kLayoutTaskbarAllowance = 64;
// Where overlays of seats the layout does not position are parked (hidden).
inline constexpr sPoint kParkedOverlay{0, -5150};

// The resolution whose layout is used on a screen without its own: 1024x768, 1280x768,
// 1280x1024, 1680x1050 or 1920x1200.
[[nodiscard]] sScreenSize ReferenceResolution(sScreenSize screen);

// The reference resolution list, in the order above.
[[nodiscard]] std::span<const sScreenSize> ReferenceResolutions();

// Height of the taskbar: its window's own height when it sits at the bottom of a screen
// `screenHeight` high, else (elsewhere, or no taskbar window) 32.
[[nodiscard]] int TaskbarHeight(ITaskbar& taskbar, int screenHeight);

// The ten overlays' top-left corners for `choice`: seats 1..n from the stored layout, pulled
// back onto the screen; seats n+1..10 at kParkedOverlay. A layout the player saved for the
// screen is placed as stored, so that saving and applying it again moves nothing. A layout
// fitted to the screen is scaled, in single precision, by the screen's size against the
// layout's and by the taskbar's height against kLayoutTaskbarAllowance: one borrowed from a
// reference resolution (the screen has none), and the screen's own when every seat 1..n still
// stands exactly where the default layout of that screen puts it (DefaultLayout: not saved by
// the player since the default file was imported).
[[nodiscard]] std::array<sPoint, kSeatCount> PlaceOverlays(ISettingsStore& store,
                                                           const sLayoutChoice& choice,
                                                           sScreenSize screen, int taskbarHeight);

// Writes the top-left corners of seats 1..n that have an overlay (index i = seat i+1) into the
// screen's own section, unscaled (seat 1's x through StorableSeatOneX).
void SaveOverlayPositions(ISettingsStore& store, const sLayoutChoice& choice, sScreenSize screen,
                          const std::array<std::optional<sPoint>, kSeatCount>& overlayTopLefts);
