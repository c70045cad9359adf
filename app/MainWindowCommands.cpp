#include "app/MainWindowCommands.h"

#include <algorithm>

int g_nExpandedHeight = 0;

sShrinkResult ToggleShrink(bool shrink, int currentHeight) {
    g_nExpandedHeight = std::max(g_nExpandedHeight, currentHeight);
    if (shrink) {
        return {"Expand", kShrunkHeight};
    }
    return {"Shrink", g_nExpandedHeight};
}
