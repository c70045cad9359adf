// The primary screen's pixels for one automatic switching scan: the screen device context is
// taken when the object is made and given back when it goes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Screen.h"
#include "platform/WindowQueries.h"
#include "platform/win32/ScopedWin.h"

class CWin32Screen final : public IScreen {
public:
    CWin32Screen() noexcept : m_screenDc(nullptr) {}

    [[nodiscard]] int Width() override { return GetSystemMetrics(SM_CXSCREEN); }
    [[nodiscard]] int Height() override { return GetSystemMetrics(SM_CYSCREEN); }
    [[nodiscard]] uint32_t Pixel(int x, int y) override {
        // CLR_INVALID (0xFFFFFFFF, kUnreadablePixel) when the pixel cannot be read.
        return static_cast<uint32_t>(GetPixel(m_screenDc.Get(), x, y));
    }
    [[nodiscard]] uint64_t ContextHandle() override {
        return reinterpret_cast<uintptr_t>(m_screenDc.Get());
    }

private:
    CScopedWindowDC m_screenDc;
};

// The window manager's answers for the foreground tests.
class CWin32Windows final : public IWindowQueries {
public:
    explicit CWin32Windows(HWND mainWindow) noexcept : m_hMain(mainWindow) {}

    [[nodiscard]] WindowId ForegroundWindow() override { return Id(GetForegroundWindow()); }
    [[nodiscard]] WindowId FindTopLevelWindow(const char* className) override {
        return Id(FindWindowA(className, nullptr));
    }
    [[nodiscard]] WindowId ParentOrOwner(WindowId window) override {
        return Id(GetParent(reinterpret_cast<HWND>(static_cast<uintptr_t>(window))));
    }
    [[nodiscard]] WindowId MainWindow() override { return Id(m_hMain); }

private:
    static WindowId Id(HWND window) { return reinterpret_cast<uintptr_t>(window); }

    HWND m_hMain;
};
