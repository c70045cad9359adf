// The application object: sets up what every window needs (the rich edit library, the common
// controls, the per-user settings store), runs the main window until the user closes it, and
// ends the program.
#pragma once

#include <windows.h>

#include <string_view>

class CPKR_HUDApp {
public:
    // Runs the program; the result is the process exit status.
    int Run(std::string_view commandLine);

private:
    // The start-up steps before the main window: libraries and controls.
    static void InitInstance();
    // The main window's message loop; it ends when the window is gone.
    static int RunMainWindow(const class CPKR_HUDDlg& mainWindow);
};
