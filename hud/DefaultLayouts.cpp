#include "hud/DefaultLayouts.h"

#include <algorithm>
#include <span>

namespace {

// Where each seat sits on the table's oval, as (sin, cos) of its angle clockwise from the top, in
// thousandths. Fixed numbers rather than std::sin keep the file identical on every machine.
struct sDirection {
    int sin;
    int cos;
};
// Heads-up: the two players face each other across the table.
constexpr std::array<sDirection, 2> kHeadsUpSeats = {{{0, 1000}, {0, -1000}}};
// Six-max: top right, right, bottom right, bottom left, left, top left (every 60 degrees).
constexpr std::array<sDirection, 6> kSixMaxSeats = {
    {{500, 866}, {1000, 0}, {500, -866}, {-500, -866}, {-1000, 0}, {-500, 866}}};
// Full ring: every 36 degrees from 18, seat 1 just right of the top centre, clockwise.
constexpr std::array<sDirection, 10> kFullRingSeats = {{{309, 951},
                                                        {809, 588},
                                                        {1000, 0},
                                                        {809, -588},
                                                        {309, -951},
                                                        {-309, -951},
                                                        {-809, -588},
                                                        {-1000, 0},
                                                        {-809, 588},
                                                        {-309, 951}}};

// Width the client's mini-table views take at the right edge of the screen.
constexpr int kMiniTableColumn = 180;
constexpr int kOverlayWidth = 122;
constexpr int kOverlayHeight = 39;

// The oval the seats lie on, in thousandths of the table area (centre and radii), per
// environment: the bar, club and beach tables (L1) are drawn a little higher and smaller than the
// others (L2).
struct sOval {
    int centreX;
    int centreY;
    int radiusX;
    int radiusY;
};
constexpr std::array<sOval, 2> kOvals = {{{500, 440, 400, 340}, {500, 470, 420, 370}}};
// A quarter-screen table leaves less room around the oval for the same-sized overlays: spread
// them wider.
constexpr int kMultiTableSpreadPermille = 1150;

std::span<const sDirection> SeatsOf(int layoutSize) {
    switch (layoutSize) {
        case LAYOUT_HEADSUP:
            return kHeadsUpSeats;
        case LAYOUT_SIXMAX:
            return kSixMaxSeats;
        default:
            return kFullRingSeats;
    }
}

int Permille(int value, int permille) {
    return value * permille / 1000;
}

}  // namespace

std::vector<sScreenSize> DefaultLayoutScreens() {
    std::vector<sScreenSize> screens(ReferenceResolutions().begin(), ReferenceResolutions().end());
    screens.push_back({1920, 1080});
    return screens;
}

std::array<sPoint, kSeatCount> DefaultLayout(sScreenSize screen, bool multiTable, int layoutSize,
                                             int layoutNumber) {
    // The single-table client fills the screen left of its mini-table views; in multi-table play
    // the shown table takes the top-left quarter of that.
    int areaWidth = screen.width - kMiniTableColumn;
    int areaHeight = screen.height - kLayoutTaskbarAllowance;
    if (multiTable) {
        areaWidth /= 2;
        areaHeight /= 2;
    }
    // Full-ring tables exist only among the L2 tables; their L1 values (never read) copy L2.
    const bool barTable = layoutNumber == 1 && layoutSize != LAYOUT_FULLRING;
    const sOval& oval = kOvals[barTable ? 0 : 1];
    const int spread = multiTable ? kMultiTableSpreadPermille : 1000;
    const int centreX = Permille(areaWidth, oval.centreX);
    const int centreY = Permille(areaHeight, oval.centreY);
    const int radiusX = Permille(Permille(areaWidth, oval.radiusX), spread);
    const int radiusY = Permille(Permille(areaHeight, oval.radiusY), spread);
    // Kept clear of the taskbar allowance, so that stretching for a thinner taskbar never
    // pushes an overlay past the bottom edge.
    const int maxX = screen.width - kOverlayWidth;
    const int maxY = screen.height - kLayoutTaskbarAllowance - kOverlayHeight;

    std::array<sPoint, kSeatCount> positions{};
    const std::span<const sDirection> seats = SeatsOf(layoutSize);
    for (size_t i = 0; i < seats.size(); ++i) {
        // Each overlay is centred on its seat's point of the oval.
        const int x = centreX + Permille(radiusX, seats[i].sin) - kOverlayWidth / 2;
        const int y = centreY - Permille(radiusY, seats[i].cos) - kOverlayHeight / 2;
        positions[i] = {std::clamp(x, 0, maxX), std::clamp(y, 0, maxY)};
    }
    // Seat 1 at the marker's x would read as "no layout for this screen".
    positions[0].x = StorableSeatOneX(positions[0].x);
    return positions;
}
