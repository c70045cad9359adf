// The main window's start-up and exit rules that need no window: where it is placed, when its
// position is saved, and the one-time settings upgrade.
//
// The main window runs UpgradeSettings once at start-up after reading the "Options" settings,
// places itself at MainWindowPosition (W, H = screen size; w, h = the window's outer size, all in
// pixels) and, as the first step of its exit sequence, offers its last known rectangle to
// SaveMainWindowPosition.
#pragma once

#include <cstdint>
#include <string>

#include "overlay/SettingsStore.h"
#include "platform/Geometry.h"
#include "platform/Shell.h"

inline constexpr const char* kMainWindowSection = "MainWindow";
// The settings layout this program writes; a store with any other "MainWindow"/"Version" gets the
// saved overlay layouts restored once.
inline constexpr int32_t kSettingsVersion = 112;
inline constexpr const char* kRegistryEditor = "regedit";
inline constexpr const char* kRestoreOverlaysArguments = "/S RestoreOverlayPositions.reg";

// The one-time upgrade: when "MainWindow"/"Version" (default 0) is not 112, asks the shell to run
// "regedit /S RestoreOverlayPositions.reg" hidden and writes "Version" = 112 whatever came of it.
// Returns whether the import was requested.
bool UpgradeSettings(ISettingsStore& store, IShellOpener& shell);

// Where the main window goes: "MainWindow"/"PosX" and "PosY" with the centred position as their
// defaults ((W - w) / 2 and (H - h) / 2, truncated toward zero). A coordinate that would put the
// window past the right or bottom screen edge is re-centred on its own; an edge exactly at the
// screen edge stays, and negative positions are kept.
[[nodiscard]] sPoint MainWindowPosition(ISettingsStore& store, sSize screen, sSize window);

// At exit: writes "MainWindow"/"PosX" and "PosY" from the window's last known rectangle, but
// only when both its left and top edge are above 0 (a window at x = 0 or y = 0, or minimised,
// leaves the stored position alone). Returns whether it wrote.
bool SaveMainWindowPosition(ISettingsStore& store, const sRect& rcMainWnd);
