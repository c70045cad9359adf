#include "app/StartupLogic.h"

namespace {

// One axis of the placement: the stored coordinate unless the window would then reach past the
// screen's far edge, in which case the centred one.
int32_t PlaceOnAxis(ISettingsStore& store, const char* name, int screenSize, int windowSize) {
    const int32_t centred = (screenSize - windowSize) / 2;  // truncates toward zero
    const int32_t stored = store.ReadInt(kMainWindowSection, name, centred);
    // Widened: a huge stored value must not wrap around and pass the test.
    if (int64_t{stored} + windowSize > screenSize) {
        return centred;
    }
    return stored;
}

}  // namespace

bool UpgradeSettings(ISettingsStore& store, IShellOpener& shell) {
    if (store.ReadInt(kMainWindowSection, "Version", 0) == kSettingsVersion) {
        return false;
    }
    shell.Open(kRegistryEditor, kRestoreOverlaysArguments, /*hidden=*/true);
    // Written even if the import failed, so it is attempted once per settings store.
    store.WriteInt(kMainWindowSection, "Version", kSettingsVersion);
    return true;
}

sPoint MainWindowPosition(ISettingsStore& store, sSize screen, sSize window) {
    sPoint pos;
    pos.x = PlaceOnAxis(store, "PosX", screen.width, window.width);
    pos.y = PlaceOnAxis(store, "PosY", screen.height, window.height);
    return pos;
}

bool SaveMainWindowPosition(ISettingsStore& store, const sRect& rcMainWnd) {
    // A minimised window sits at negative coordinates; saving that would hide it next time.
    if (rcMainWnd.left <= 0 || rcMainWnd.top <= 0) {
        return false;
    }
    store.WriteInt(kMainWindowSection, "PosX", rcMainWnd.left);
    store.WriteInt(kMainWindowSection, "PosY", rcMainWnd.top);
    return true;
}
