// The process-wide settings record: the thirteen "Options" values and the chosen hand history
// folder. It holds the defaults below until start-up reads the stored settings; only the options
// dialog changes it afterwards.
#pragma once

#include <string>

struct sSettings {
    bool SplitStats_Stakes = false;
    bool TransparentWindows = false;
    bool MainWindowAlwaysOnTop = true;
    int OldestStatsInWeeks = 52;  // 1..999
    bool ShowVPIP = true;
    bool ShowPFR = true;
    bool ShowWTSD = true;
    bool ShowWONSD = false;
    bool Show3BET = true;
    bool ShowFT3BET = true;
    bool ShowCBET = true;
    bool ShowFTCBET = true;
    bool ShowAGFR = true;
    // The hand history folder the player chose (UTF-8, as stored: untrusted); empty means the
    // PKR client's folder.
    std::string HistoryFolder;

    friend bool operator==(const sSettings&, const sSettings&) = default;
};

constexpr int kMinWeeks = 1;
constexpr int kMaxWeeks = 999;
constexpr int ClampWeeks(int weeks) {
    return weeks < kMinWeeks ? kMinWeeks : (weeks > kMaxWeeks ? kMaxWeeks : weeks);
}

extern sSettings g_settings;
