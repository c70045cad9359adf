// One table's HUD: the ten seat overlays over the table, and the small "Table Settings" window
// (template 129, hidden until the main window's Table Settings command shows it) in which the
// user picks the environment and table size that select the overlays' layout.
//
// The table list drives it through ITableHud (hud/TableHud.h): NewHud, ReadSeats, then
// CreateHiddenWindow (which creates the overlays and starts timer 232), SetMultiTable,
// ApplyOverlayPositions, SetActive, RefreshOverlays. From then on timer 232 refreshes the
// overlays every 150 ms. The decisions live in portable code: hud/Layouts.h (layouts),
// hud/RefreshLogic.h (refresh cycle), hud/SeatReader.h and hud/SeatText.h (seats and texts);
// this class only moves values between them and the windows.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hud/Layouts.h"
#include "hud/RefreshLogic.h"
#include "hud/SeatReader.h"
#include "hud/TableHud.h"
#include "overlay/PlayerOverlayDlg.h"
#include "platform/win32/DialogBase.h"

class CStatsStore;
class ISettingsStore;

class CTableHudDlg final : public CDialogBase, public ITableHud, private IRefreshHud {
public:
    // `mainWindow` parents the settings window and owns the overlays; `store` holds the layouts;
    // `stats` gives the players' counters. No window is created yet.
    CTableHudDlg(_sTableOpenInfo& table, HWND mainWindow, ISettingsStore& store,
                 const CStatsStore& stats);
    ~CTableHudDlg() override;

    // ITableHud.
    bool ReadSeats() override;
    void CreateHiddenWindow(const std::string& title, sPoint topLeft) override;
    void HideWindow() override;
    std::optional<bool> IsSettingsWindowVisible() override;
    void ShowSettingsWindow() override;
    void ShowSettingsWindowAt(sPoint topLeft) override;
    void SetActive(bool active) override { m_bActive = active; }
    void SetMultiTable(bool multiTable) override { m_bMultiTable = multiTable; }
    void ApplyOverlayPositions() override;
    void RefreshOverlays() override;
    // Stores the overlays' current places as the layout chosen in the window.
    void SaveOverlayPositions() override;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    // Enter, the OK button and the close box only hide the window; the HUD lives on.
    void OnOK() override { HideWindow(); }
    void OnCancel() override { HideWindow(); }

private:
    // IRefreshHud.
    [[nodiscard]] sBucketKey Bucket() const override { return m_seats.Bucket(); }
    void SetHeading(const std::string& text) override;
    [[nodiscard]] bool IsSeatEmpty(int seat) const override;
    void ComposeSeat(int seat, sSeatDisplay& out) override;

    void CreateOverlays();
    void FillEnvironmentList();
    // The layout the window's controls choose (updates m_nLayoutSize); nullopt without an
    // environment selection.
    std::optional<sLayoutChoice> ChosenLayout();
    [[nodiscard]] std::array<CPlayerOverlay*, kSeatCount> OverlayPointers() const;

    _sTableOpenInfo* m_pTable;
    // Overlay of seat i+1 at index i; null until the window exists (or when it failed).
    std::array<std::unique_ptr<CPlayerOverlayDlg>, kSeatCount> m_pOverlay;
    bool m_bActive = true;
    bool m_bMultiTable = false;
    // m_nLayoutSize, m_nSizeClass, m_nGame, m_nStake, m_strMain, m_nPlayer, m_strSeatName.
    sSeatState m_seats;
    HWND m_hMainWindow;
    ISettingsStore& m_store;
    const CStatsStore& m_stats;
    CSeatReader m_seatReader;
    std::string m_strHeading;  // what control 1014 shows, to set it only on change
};

// The overlay refresh ticks every HUD of this run has handled so far: the measure of how much
// work a long run did, which the main window tells a test that asks.
[[nodiscard]] uint64_t HudRefreshTicks() noexcept;

// Builds the HUDs of the main window's tables.
class CTableHudFactory final : public ITableHudFactory {
public:
    CTableHudFactory(HWND mainWindow, ISettingsStore& store, const CStatsStore& stats) noexcept
        : m_hMainWindow(mainWindow), m_store(store), m_stats(stats) {}
    std::unique_ptr<ITableHud> NewHud(_sTableOpenInfo& table) override {
        return std::make_unique<CTableHudDlg>(table, m_hMainWindow, m_store, m_stats);
    }

private:
    HWND m_hMainWindow;
    ISettingsStore& m_store;
    const CStatsStore& m_stats;
};
