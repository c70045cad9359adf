// The default overlay layouts delivered in RestoreOverlayPositions.reg: for each screen size,
// layout set, table size and environment, the seats placed around an oval PKR table. The file
// is written from these (tools/make-layouts), and the HUD compares a stored layout with them to
// tell one that still holds the delivered positions from one the player saved.
#pragma once

#include <array>
#include <vector>

#include "hud/Layouts.h"

// Screen sizes the file carries layouts for: the five reference resolutions and 1920 x 1080.
[[nodiscard]] std::vector<sScreenSize> DefaultLayoutScreens();

// The top-left corners of the ten overlays of one layout (unpositioned seats parked at 0, 0),
// laid out with kLayoutTaskbarAllowance pixels kept free for the taskbar. Every coordinate is
// 0 or more.
[[nodiscard]] std::array<sPoint, kSeatCount> DefaultLayout(sScreenSize screen, bool multiTable,
                                                           int layoutSize, int layoutNumber);
