// The window manager questions the program asks before it acts on the screen: which window is in
// front, and whether that is the PKR client or one of this program's own windows. Both the
// automatic table switching and the overlays' visibility rule ask them.
#pragma once

#include <cstdint>

// Window handles as numbers; 0 is no window.
using WindowId = uint64_t;

// The window manager questions of the foreground tests.
class IWindowQueries {
public:
    virtual ~IWindowQueries() = default;
    // GetForegroundWindow().
    [[nodiscard]] virtual WindowId ForegroundWindow() = 0;
    // FindWindowA(className, nullptr): the first top-level window of that class.
    [[nodiscard]] virtual WindowId FindTopLevelWindow(const char* className) = 0;
    // GetParent(window): the parent, or for a pop-up window its owner.
    [[nodiscard]] virtual WindowId ParentOrOwner(WindowId window) = 0;
    // This program's main window.
    [[nodiscard]] virtual WindowId MainWindow() = 0;
};

// The PKR client's main window class.
inline constexpr const char* kPkrWindowClass = "PKR";

// No foreground window, or the foreground window is the PKR client's main window.
[[nodiscard]] bool IsPkrWindowForeground(IWindowQueries& windows);
// No foreground window, or the foreground window is the main window or one whose parent (or
// owner) is the main window, such as a table settings window.
[[nodiscard]] bool IsOwnWindowForeground(IWindowQueries& windows);
