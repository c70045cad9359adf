// The default overlay layouts delivered in RestoreOverlayPositions.reg: for each screen size,
// layout set, table size and environment, the seats placed around an oval PKR table.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "hud/Layouts.h"

// Screen sizes the file carries layouts for: the five reference resolutions and 1920 x 1080.
[[nodiscard]] std::vector<sScreenSize> DefaultLayoutScreens();

// The top-left corners of the ten overlays of one layout (unpositioned seats parked at 0, 0).
[[nodiscard]] std::array<sPoint, kSeatCount> DefaultLayout(sScreenSize screen, bool multiTable,
                                                           int layoutSize, int layoutNumber);

// The whole registry import file (REGEDIT4, CRLF line ends): one section per screen size under
// HKEY_CURRENT_USER\Software\Quillworks\Lanternquill, every position value name as a dword.
[[nodiscard]] std::string RenderLayoutsRegFile();
