// The "Shrink" check box of the main window: at 70 pixels only the check boxes stay within
// reach (so "Shrink" can be cleared again); clearing it restores the largest height seen.
#pragma once

// Largest outer height of the main window the Shrink check box has seen, in pixels.
extern int g_nExpandedHeight;

inline constexpr int kShrunkHeight = 70;

struct sShrinkResult {
    const char* buttonText;  // the check box's new text
    int height;              // the main window's new outer height, pixels
};

// "Shrink" was ticked (`shrink`) or cleared with the main window `currentHeight` pixels high:
// remembers the height in g_nExpandedHeight and says what the window becomes. Position, z-order
// and width stay as they are.
[[nodiscard]] sShrinkResult ToggleShrink(bool shrink, int currentHeight);
