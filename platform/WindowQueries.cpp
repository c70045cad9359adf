#include "platform/WindowQueries.h"

bool IsPkrWindowForeground(IWindowQueries& windows) {
    const WindowId foreground = windows.ForegroundWindow();
    return foreground == 0 || foreground == windows.FindTopLevelWindow(kPkrWindowClass);
}

bool IsOwnWindowForeground(IWindowQueries& windows) {
    const WindowId foreground = windows.ForegroundWindow();
    if (foreground == 0) {
        return true;
    }
    const WindowId main = windows.MainWindow();
    return foreground == main || windows.ParentOrOwner(foreground) == main;
}
