// The taskbar: the top-level window of class "Shell_TrayWnd" with an empty title.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/Taskbar.h"

class CWin32Taskbar final : public ITaskbar {
public:
    [[nodiscard]] std::optional<sRect> WindowRect() override {
        const HWND taskbar = FindWindowA("Shell_TrayWnd", "");
        RECT rc{};
        if (taskbar == nullptr || GetWindowRect(taskbar, &rc) == FALSE) {
            return std::nullopt;
        }
        return sRect{rc.left, rc.top, rc.right, rc.bottom};
    }
};
