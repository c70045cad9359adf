// The primary screen as the automatic table switching samples it: its size and single pixels.
// The Windows program reads it through a screen device context (platform/win32/Win32Screen.h);
// tests paint one in memory.
#pragma once

#include <cstdint>

// What the screen answers for a pixel it cannot read (a locked workstation, the secure
// desktop): no colour at all.
inline constexpr uint32_t kUnreadablePixel = 0xFFFFFFFFu;

// The primary screen for one scan.
class IScreen {
public:
    virtual ~IScreen() = default;
    // GetSystemMetrics(SM_CXSCREEN) and (SM_CYSCREEN).
    [[nodiscard]] virtual int Width() = 0;
    [[nodiscard]] virtual int Height() = 0;
    // GetPixel(screenDc, x, y) as 0x00BBGGRR; a pixel that cannot be read is 0xFFFFFFFF
    // (CLR_INVALID, kUnreadablePixel), which the tests count as neither white nor grey.
    [[nodiscard]] virtual uint32_t Pixel(int x, int y) = 0;
    // The screen device context's handle value, for the troubleshooting log only.
    [[nodiscard]] virtual uint64_t ContextHandle() = 0;
};
