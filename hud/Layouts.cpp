#include "hud/Layouts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "hud/DefaultLayouts.h"
#include "overlay/SettingsStore.h"
#include "platform/Taskbar.h"

namespace {

constexpr std::array<const char*, kLayoutSetCount> kSetNames = {"S", "M"};
constexpr std::array<const char*, 3> kSizeNames = {"HU", "6M", "FR"};
constexpr std::array<char, 2> kAxisNames = {'x', 'y'};
// Seats a layout of each size positions; the rest are parked off screen.
constexpr std::array<int, 3> kPositionedSeats = {2, 6, 10};

constexpr std::array<sScreenSize, 5> kReferenceResolutions = {
    {{1024, 768}, {1280, 768}, {1280, 1024}, {1680, 1050}, {1920, 1200}}};

std::array<std::string, kPositionValueCount> BuildPositionNames() {
    // Nested from the outermost (set) to the innermost (axis) part, so that the running index is
    // exactly PositionNameIndex of the parts.
    std::array<std::string, kPositionValueCount> names;
    size_t index = 0;
    for (const char* set : kSetNames) {
        for (const char* size : kSizeNames) {
            for (int layout = 1; layout <= kEnvironmentCount; ++layout) {
                for (int seat = 1; seat <= kSeatCount; ++seat) {
                    for (char axis : kAxisNames) {
                        names[index++] = std::string(set) + "_" + size + "_L" +
                                         std::to_string(layout) + "_S" + std::to_string(seat) +
                                         axis;
                    }
                }
            }
        }
    }
    return names;
}

// How a scaled coordinate is pulled back onto one axis of the screen.
struct sScreenAxis {
    int limit = 0;     // the screen's extent
    int fallback = 0;  // where a coordinate past it goes
};

// x·factor in single precision, truncated toward zero, then pulled back onto the screen: a
// negative result becomes 0 and one past `axis.limit` becomes `axis.fallback`.
int ScaleOntoScreen(int32_t value, float factor, sScreenAxis axis) {
    const auto [limit, fallback] = axis;
    const float scaled = std::trunc(static_cast<float>(value) * factor);
    if (scaled < 0.0F) {
        return 0;
    }
    if (scaled > static_cast<float>(limit)) {
        return fallback;
    }
    return static_cast<int>(scaled);
}

// Whether the screen's own section holds, for every seat 1..n of `choice`, exactly the position
// the default layout of that screen gives it. The default file imported these values; a save
// writes where the overlays stand, and those differ from them wherever the program placed an
// overlay fitted to the taskbar or the player dropped one elsewhere. So a layout the player
// saved reads as the default one only when every seat of it is on its default pixel. Screens
// the file has no layouts for never hold a default layout.
bool HoldsDefaultLayout(ISettingsStore& store, const sLayoutChoice& choice, sScreenSize screen) {
    const std::vector<sScreenSize> screens = DefaultLayoutScreens();
    if (std::find(screens.begin(), screens.end(), screen) == screens.end()) {
        return false;
    }
    const std::array<sPoint, kSeatCount> defaults =
        DefaultLayout(screen, choice.multiTable, choice.layoutSize, choice.LayoutNumber());
    const std::string section = OverlayPositionSection(screen.width, screen.height);
    // A missing value reads as -1, which no default position is.
    constexpr int32_t kMissing = -1;
    for (int i = 0; i < choice.PositionedSeats(); ++i) {
        const sPoint want = defaults[static_cast<size_t>(i)];
        if (store.ReadInt(section, choice.ValueName(i + 1, 0), kMissing) != want.x ||
            store.ReadInt(section, choice.ValueName(i + 1, 1), kMissing) != want.y) {
            return false;
        }
    }
    return true;
}

}  // namespace

const std::array<std::string, kPositionValueCount>& OverlayPositionNames() {
    static const std::array<std::string, kPositionValueCount> names = BuildPositionNames();
    return names;
}

std::string OverlayPositionSection(int width, int height) {
    return "OverlayPos_" + std::to_string(width) + "x" + std::to_string(height);
}

const std::string& sLayoutChoice::ValueName(int seat, int axis) const {
    return OverlayPositionNames()[PositionNameIndex(multiTable, layoutSize, LayoutNumber(), seat,
                                                    axis)];
}

// The two numbers are read from two controls of the table settings window right at the call.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::optional<sLayoutChoice> ChooseLayout(int selectedEnvironment, int checkedRadio,
                                          bool multiTable, int& layoutSize) {
    if (selectedEnvironment < 0 || selectedEnvironment >= kEnvironmentCount) {
        return std::nullopt;
    }
    sLayoutChoice choice;
    choice.multiTable = multiTable;
    choice.environment = selectedEnvironment;
    if (checkedRadio >= LAYOUT_HEADSUP && checkedRadio <= LAYOUT_FULLRING) {
        layoutSize = checkedRadio;
        choice.positionedSeats = kPositionedSeats[static_cast<size_t>(checkedRadio)];
    } else {
        choice.positionedSeats = kSeatCount;
    }
    // Without a size there are no value names to use (the window always checks one button, so
    // this only guards the name table).
    if (layoutSize < LAYOUT_HEADSUP || layoutSize > LAYOUT_FULLRING) {
        return std::nullopt;
    }
    choice.layoutSize = layoutSize;
    // Full-ring tables exist only in the second environment, so only its layouts are kept.
    if (layoutSize == LAYOUT_FULLRING) {
        choice.environment = 1;
    }
    return choice;
}

std::span<const sScreenSize> ReferenceResolutions() {
    return kReferenceResolutions;
}

sScreenSize ReferenceResolution(sScreenSize screen) {
    if (screen.width <= 1024) {
        return kReferenceResolutions[0];
    }
    if (screen.width < 1500) {
        return screen.height > 900 ? kReferenceResolutions[2] : kReferenceResolutions[1];
    }
    if (screen.width < 1800) {
        return kReferenceResolutions[3];
    }
    return kReferenceResolutions[4];
}

int TaskbarHeight(ITaskbar& taskbarWindow, int screenHeight) {
    const std::optional<sRect> taskbar = taskbarWindow.WindowRect();
    // Only a taskbar along the bottom edge takes height from the table area.
    if (taskbar && taskbar->bottom == screenHeight && taskbar->top <= taskbar->bottom) {
        return taskbar->bottom - taskbar->top;
    }
    return kDefaultTaskbarHeight;
}

std::array<sPoint, kSeatCount> PlaceOverlays(ISettingsStore& store, const sLayoutChoice& choice,
                                             sScreenSize screen, int taskbarHeight) {
    const int width = screen.width;
    const int height = screen.height;

    const bool ownLayout =
        store.ReadInt(OverlayPositionSection(width, height), choice.ValueName(1, 0),
                      kNoLayoutMarker) != kNoLayoutMarker;
    const sScreenSize reference = ownLayout ? screen : ReferenceResolution(screen);
    const std::string section = OverlayPositionSection(reference.width, reference.height);

    const int positioned = choice.PositionedSeats();
    std::array<sPoint, kSeatCount> stored{};
    for (int i = 0; i < positioned; ++i) {
        // Without a stored position the overlays are spread in a row across the middle.
        stored[static_cast<size_t>(i)] = {
            store.ReadInt(section, choice.ValueName(i + 1, 0),
                          100 + i * ((width - 100) / kSeatCount)),
            store.ReadInt(section, choice.ValueName(i + 1, 1), height / 2)};
    }

    // A layout the player saved is where the player left it (stretching it for the taskbar on
    // every application moved it a little further down with each save). A borrowed one, and
    // the screen's own default one, are fitted to the screen and its taskbar; single precision
    // on purpose: the stored layouts were made with these exact factors, and double precision
    // truncates some products one pixel differently.
    float scaleX = 1.0F;
    float scaleY = 1.0F;
    if (!ownLayout || HoldsDefaultLayout(store, choice, screen)) {
        scaleX = static_cast<float>(width) / static_cast<float>(reference.width);
        const int layoutHeight = reference.height + taskbarHeight - kLayoutTaskbarAllowance;
        // A degenerate screen (no room above the taskbar) keeps the stored heights.
        if (layoutHeight > 0) {
            scaleY = static_cast<float>(height) / static_cast<float>(layoutHeight);
        }
    }

    std::array<sPoint, kSeatCount> positions;
    positions.fill(kParkedOverlay);
    for (int i = 0; i < positioned; ++i) {
        const sPoint at = stored[static_cast<size_t>(i)];
        positions[static_cast<size_t>(i)] = {ScaleOntoScreen(at.x, scaleX, {width, 600}),
                                             ScaleOntoScreen(at.y, scaleY, {height, 500})};
    }
    return positions;
}

void SaveOverlayPositions(ISettingsStore& store, const sLayoutChoice& choice, sScreenSize screen,
                          const std::array<std::optional<sPoint>, kSeatCount>& overlayTopLefts) {
    const std::string section = OverlayPositionSection(screen.width, screen.height);
    for (int i = 0; i < choice.PositionedSeats(); ++i) {
        const std::optional<sPoint>& topLeft = overlayTopLefts[static_cast<size_t>(i)];
        if (!topLeft) {
            continue;
        }
        store.WriteInt(section, choice.ValueName(i + 1, 0),
                       i == 0 ? StorableSeatOneX(topLeft->x) : topLeft->x);
        store.WriteInt(section, choice.ValueName(i + 1, 1), topLeft->y);
    }
}
