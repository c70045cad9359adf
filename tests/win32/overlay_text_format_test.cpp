// How an overlay lays out a player's name: drawn by the system's text drawing, so checked on
// Windows (under Wine) only.
#include <gtest/gtest.h>

#include "overlay/PlayerOverlayDlg.h"

namespace {

// The width DrawText gives `text` with the overlay's format, in a screen-compatible context.
int DrawnWidth(const char* text) {
    const HDC dc = CreateCompatibleDC(nullptr);
    RECT rect{0, 0, 1000, 100};
    DrawTextA(dc, text, -1, &rect, kOverlayTextFormat | DT_CALCRECT);
    DeleteDC(dc);
    return static_cast<int>(rect.right - rect.left);
}

TEST(OverlayTextFormat, AmpersandInANameDrawsAsItself) {
    // As a mnemonic prefix the '&' would vanish ("AB", B underlined) and "&&" would draw one.
    EXPECT_GT(DrawnWidth("A&B"), DrawnWidth("AB"));
    EXPECT_GT(DrawnWidth("A&&B"), DrawnWidth("A&B"));
    // A name ending in '&' keeps it too.
    EXPECT_GT(DrawnWidth("Rock&"), DrawnWidth("Rock"));
}

}  // namespace
