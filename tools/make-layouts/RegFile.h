// The registry import file of the default overlay layouts (hud/DefaultLayouts.h).
#pragma once

#include <string>

// The whole registry import file (REGEDIT4, CRLF line ends): one section per screen size under
// HKEY_CURRENT_USER\Software\Quillworks\Lanternquill, every position value name as a dword.
[[nodiscard]] std::string RenderLayoutsRegFile();
