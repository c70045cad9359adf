// Fakes for the table list logic: HUDs that record what was done to them, a factory whose HUDs
// can be told to fail reading seats, and a main window with a settable check box and rectangle.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/TableList.h"

namespace table_fakes {

using Lines = std::vector<std::string>;

// What a fake HUD has been told, readable after the HUD itself is gone.
struct sHudState {
    std::string table;
    bool readable = true;  // what ReadSeats returns
    bool created = false;
    sPoint topLeft;
    bool active = false;
    bool multiTable = false;
    bool overlaysShown = false;  // active at the last RefreshOverlays
    bool destroyed = false;
    int placements = 0;  // ApplyOverlayPositions calls
    bool multiTableWhenPlaced = false;
    // The settings window: nullopt when its state cannot be read.
    std::optional<bool> windowVisible = false;
    std::optional<sPoint> windowShownAt;  // where ShowSettingsWindowAt put it last
};

class CFakeHud final : public ITableHud {
public:
    CFakeHud(_sTableOpenInfo& table, std::shared_ptr<sHudState> state)
        : m_table(table), m_state(std::move(state)) {}
    ~CFakeHud() override { m_state->destroyed = true; }
    CFakeHud(const CFakeHud&) = delete;
    CFakeHud& operator=(const CFakeHud&) = delete;
    CFakeHud(CFakeHud&&) = delete;
    CFakeHud& operator=(CFakeHud&&) = delete;

    bool ReadSeats() override {
        if (m_state->readable) {
            m_table.m_bChanged = false;
        }
        return m_state->readable;
    }
    void CreateHiddenWindow(const std::string& title, sPoint topLeft) override {
        m_state->created = title == m_table.m_strName;
        m_state->topLeft = topLeft;
    }
    void HideWindow() override {
        if (m_state->windowVisible) {
            m_state->windowVisible = false;
        }
    }
    std::optional<bool> IsSettingsWindowVisible() override { return m_state->windowVisible; }
    void ShowSettingsWindow() override { m_state->windowVisible = true; }
    void ShowSettingsWindowAt(sPoint topLeft) override {
        m_state->windowVisible = true;
        m_state->windowShownAt = topLeft;
    }
    void SetActive(bool active) override { m_state->active = active; }
    void SetMultiTable(bool multiTable) override { m_state->multiTable = multiTable; }
    void ApplyOverlayPositions() override {
        ++m_state->placements;
        m_state->multiTableWhenPlaced = m_state->multiTable;
    }
    // As the real refresh: an inactive HUD hides its overlays, an active one shows them only
    // when its seats can be read (otherwise they stay as they were).
    void RefreshOverlays() override {
        if (!m_state->active || m_state->readable) {
            m_state->overlaysShown = m_state->active;
        }
    }

private:
    _sTableOpenInfo& m_table;
    std::shared_ptr<sHudState> m_state;
};

class CFakeHudFactory final : public ITableHudFactory {
public:
    std::unique_ptr<ITableHud> NewHud(_sTableOpenInfo& table) override {
        auto state = std::make_shared<sHudState>();
        state->table = table.m_strName;
        state->readable = !m_unreadable.contains(table.m_strName);
        m_huds.push_back(state);
        return std::make_unique<CFakeHud>(table, state);
    }

    std::vector<std::shared_ptr<sHudState>> m_huds;  // every HUD built, in order
    std::set<std::string> m_unreadable;              // tables whose new HUDs cannot read seats
};

class CFakeHost final : public ITableListHost {
public:
    bool IsAutoSwitchTicked() override { return m_bAutoSwitch; }
    sRect MainWindowRect() override { return sRect{400, 300, 575, 520}; }
    bool m_bAutoSwitch = false;
};

inline sModifiedFileInfo File(const std::string& name, int64_t time,
                              const std::string& folder = "/hh/") {
    return sModifiedFileInfo{folder + name + ".txt", name, time};
}

// A list box, HUD factory and main window around one CTableList.
struct sTableListRig {
    CMemoryListBox listBox;
    CFakeHudFactory factory;
    CFakeHost host;
    CTableList tables{listBox, factory, host};

    // The last HUD built for `name`.
    std::shared_ptr<sHudState> Hud(const std::string& name) const {
        std::shared_ptr<sHudState> last;
        for (const auto& hud : factory.m_huds) {
            last = hud->table == name ? hud : last;
        }
        return last;
    }
    // Tables whose (living) HUD shows its overlays.
    Lines ShownHuds() const {
        Lines shown;
        for (const auto& hud : factory.m_huds) {
            if (!hud->destroyed && hud->overlaysShown) {
                shown.push_back(hud->table);
            }
        }
        return shown;
    }
};

}  // namespace table_fakes
