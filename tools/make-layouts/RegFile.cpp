#include "tools/make-layouts/RegFile.h"

#include <cstdint>
#include <cstdio>

#include "hud/DefaultLayouts.h"

std::string RenderLayoutsRegFile() {
    std::string text = "REGEDIT4\r\n";
    char line[96];
    for (const sScreenSize& screen : DefaultLayoutScreens()) {
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Quillworks\\Lanternquill\\" +
                OverlayPositionSection(screen.width, screen.height) + "]\r\n";
        // In value-name order, so the file reads like the name table.
        for (int set = 0; set < kLayoutSetCount; ++set) {
            for (int size = LAYOUT_HEADSUP; size <= LAYOUT_FULLRING; ++size) {
                for (int layout = 1; layout <= kEnvironmentCount; ++layout) {
                    const auto positions = DefaultLayout(screen, set == 1, size, layout);
                    for (int seat = 1; seat <= kSeatCount; ++seat) {
                        const sPoint at = positions[static_cast<size_t>(seat - 1)];
                        for (int axis = 0; axis < 2; ++axis) {
                            const size_t index =
                                PositionNameIndex(set == 1, size, layout, seat, axis);
                            std::snprintf(line, sizeof line, "\"%s\"=dword:%08x\r\n",
                                          OverlayPositionNames()[index].c_str(),
                                          static_cast<uint32_t>(axis == 0 ? at.x : at.y));
                            text += line;
                        }
                    }
                }
            }
        }
    }
    return text;
}
