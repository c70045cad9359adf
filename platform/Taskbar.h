// The system's taskbar, whose height the overlay layouts allow for. The Windows program asks the
// window manager (platform/win32/Win32Taskbar.h); tests give any rectangle.
#pragma once

#include <optional>

#include "platform/Geometry.h"

class ITaskbar {
public:
    virtual ~ITaskbar() = default;
    // The taskbar window's screen rectangle as the system reports it; nullopt when there is no
    // taskbar window (Wine's desktop has none).
    [[nodiscard]] virtual std::optional<sRect> WindowRect() = 0;
};
