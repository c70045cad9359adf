#include "app/TableList.h"

#include <algorithm>
#include <cctype>
#include <cstring>

bool IsPlaceholderLine(const std::string& line) {
    const size_t length = std::strlen(kNoTableLine);
    if (line.size() < length) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        const auto a = static_cast<unsigned char>(line[i]);
        const auto b = static_cast<unsigned char>(kNoTableLine[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

_sTableOpenInfo* CTableList::FindTable(const std::string& name) {
    for (auto& table : m_listTables) {
        if (table.m_strName == name) {
            return &table;
        }
    }
    return nullptr;
}

size_t CTableList::TablesWithHud() const noexcept {
    return static_cast<size_t>(
        std::count_if(m_listTables.begin(), m_listTables.end(),
                      [](const _sTableOpenInfo& table) { return table.m_pHud != nullptr; }));
}

void CTableList::RefreshTableList(const std::vector<sModifiedFileInfo>& files) {
    bool retryAwaitedTable = false;
    for (const auto& file : files) {
        bool known = false;
        for (auto& table : m_listTables) {
            if (table.m_strName != file.m_strName) {
                continue;
            }
            known = true;
            if (file.m_tModified > table.m_tModified) {
                table.m_bChanged = true;
                table.m_tModified = file.m_tModified;
                table.m_strPath = file.m_strPath;
                retryAwaitedTable = retryAwaitedTable || IsAwaitingHud(table);
            }
        }
        if (known) {
            continue;
        }
        auto& table = m_listTables.emplace_back();
        table.m_strName = file.m_strName;
        table.m_strPath = file.m_strPath;
        table.m_tModified = file.m_tModified;
        table.m_bChanged = true;
        AddTableLine(file.m_strName);
        if (m_listBox.GetCurSel() < 0) {
            m_listBox.SetCurSel(0);
            OnSelChangeTables();
        }
    }
    // The table chosen last could not show its HUD then (its file was locked or ended in a
    // half-written hand): now that the file has changed, try again rather than leave the table
    // being played without a HUD until the next switch. The table is the one chosen, not the
    // selected line: a line picked by hand while automatic switching is on changes no HUD.
    if (retryAwaitedTable && m_strAwaitingHud) {
        ShowOnlyHudOf(*m_strAwaitingHud);
    }
}

bool CTableList::IsAwaitingHud(const _sTableOpenInfo& table) const {
    return m_strAwaitingHud && *m_strAwaitingHud == table.m_strName;
}

void CTableList::AddTableLine(const std::string& name) {
    const int count = m_listBox.GetCount();
    for (int i = 0; i < count; ++i) {
        if (IsPlaceholderLine(m_listBox.GetText(i))) {
            m_listBox.DeleteString(i);
            m_listBox.InsertString(i, name);
            return;
        }
    }
    m_listBox.AddString(name);
}

void CTableList::OnSelChangeTables() {
    m_nLastSel = m_listBox.GetCurSel();
    // While switching follows the mini-tables, a line chosen by hand only waits for the next scan.
    if (m_listBox.GetCount() > 1 && m_host.IsAutoSwitchTicked()) {
        return;
    }
    UpdateTableHuds();
}

void CTableList::UpdateTableHuds() {
    const int sel = m_listBox.GetCurSel();
    ShowOnlyHudOf(sel >= 0 ? std::optional<std::string>(m_listBox.GetText(sel)) : std::nullopt);
}

void CTableList::ShowOnlyHudOf(const std::optional<std::string>& name) {
    m_strAwaitingHud.reset();
    _sTableOpenInfo* match = nullptr;
    for (auto& table : m_listTables) {
        if (name && table.m_strName == *name) {
            match = &table;
        } else if (table.m_pHud) {
            table.m_pHud->HideWindow();
            table.m_pHud->SetActive(false);
            table.m_pHud->RefreshOverlays();
        }
    }
    if (m_bHideHuds || match == nullptr) {
        return;
    }
    if (match->m_pHud && match->m_pHud->ReadSeats()) {
        ActivateHud(*match->m_pHud);
        return;
    }
    if (CreateHud(*match)) {
        return;
    }
    // The seats cannot be read right now (the client is writing the file). The table stays the
    // one to show: a HUD it already has is made active, so its own refresh tick shows the
    // overlays as soon as the seats can be read; without one, the next import cycle that sees
    // the file change tries again.
    m_strAwaitingHud = match->m_strName;
    if (match->m_pHud) {
        ActivateHud(*match->m_pHud);
    }
}

void CTableList::ActivateHud(ITableHud& hud) const {
    hud.SetActive(true);
    hud.SetMultiTable(m_bMultiTable);
    hud.RefreshOverlays();
}

bool CTableList::CreateHud(_sTableOpenInfo& table) {
    std::unique_ptr<ITableHud> hud = m_hudFactory.NewHud(table);
    if (!hud || !hud->ReadSeats()) {
        return false;
    }
    const sRect main = m_host.MainWindowRect();
    hud->CreateHiddenWindow(table.m_strName, sPoint{main.left - kNewHudLeftOffset, main.bottom});
    hud->SetMultiTable(m_bMultiTable);
    hud->ApplyOverlayPositions();
    hud->SetActive(true);
    hud->RefreshOverlays();
    // A HUD whose file could not be read just before is replaced (and destroyed) by the new one.
    table.m_pHud = std::move(hud);
    return true;
}

void CTableList::SwitchToZone(int zone) {
    if (zone < 0) {
        return;
    }
    while (m_listBox.GetCount() <= zone) {
        m_listBox.AddString(kNoTableLine);
    }
    if (zone == m_nAutoZone) {
        return;
    }
    m_nAutoZone = zone;
    m_listBox.SetCurSel(zone);
    UpdateTableHuds();
}

void CTableList::StripTrailingPlaceholders() {
    for (int count = m_listBox.GetCount(); count > 0; --count) {
        if (m_listBox.GetText(count - 1) != kNoTableLine) {
            break;
        }
        m_listBox.DeleteString(count - 1);
    }
}

void CTableList::RemoveSelectedTable() {
    const int sel = m_listBox.GetCurSel();
    if (sel < 0) {
        return;
    }
    const std::string name = m_listBox.GetText(sel);
    if (m_strAwaitingHud == name) {
        m_strAwaitingHud.reset();
    }
    for (auto it = m_listTables.begin(); it != m_listTables.end(); ++it) {
        if (it->m_strName == name) {
            it->m_pHud.reset();
            m_listTables.erase(it);
            break;
        }
    }
    m_listBox.DeleteString(sel);
    StripTrailingPlaceholders();
    if (m_listBox.GetCurSel() < 0) {
        m_listBox.SetCurSel(0);
        OnSelChangeTables();
    }
    m_nAutoZone = -1;
}

void CTableList::RemoveAllTables() {
    while (m_listBox.GetCount() > 0) {
        m_listBox.SetCurSel(0);
        RemoveSelectedTable();
    }
}

void CTableList::DestroyAllTables() {
    // Each HUD goes before its record, so a HUD never outlives the record it points to.
    for (auto& table : m_listTables) {
        table.m_pHud.reset();
    }
    m_listTables.clear();
    m_strAwaitingHud.reset();
}

void CTableList::MoveLine(int from, int to) {
    const std::string text = m_listBox.GetText(from);
    m_listBox.DeleteString(from);
    m_listBox.InsertString(to, text);
    m_listBox.SetCurSel(to);
}

void CTableList::MoveTableUp() {
    const int sel = m_listBox.GetCurSel();
    if (sel > 0) {
        MoveLine(sel, sel - 1);
    }
    StripTrailingPlaceholders();
    m_nAutoZone = -1;
}

void CTableList::MoveTableDown() {
    // Only four mini-table views exist, so pushing a table further down would match no zone.
    constexpr int kLastZoneLine = 3;
    const int sel = m_listBox.GetCurSel();
    if (sel >= 0) {
        if (sel < m_listBox.GetCount() - 1) {
            MoveLine(sel, sel + 1);
        } else if (sel < kLastZoneLine) {
            m_listBox.InsertString(sel, kNoTableLine);
            m_listBox.SetCurSel(sel + 1);
        }
    }
    StripTrailingPlaceholders();
    m_nAutoZone = -1;
}

void CTableList::ToggleTableSettings() {
    const int sel = m_listBox.GetCurSel();
    if (sel < 0) {
        return;
    }
    const std::string selected = m_listBox.GetText(sel);
    for (auto& table : m_listTables) {
        if (!table.m_pHud) {
            continue;
        }
        ITableHud& hud = *table.m_pHud;
        if (table.m_strName != selected) {
            hud.HideWindow();
            continue;
        }
        // The window opens on the table's current hand; a file that cannot be read right now
        // leaves this table's window as it is.
        if (!hud.ReadSeats()) {
            continue;
        }
        const std::optional<bool> visible = hud.IsSettingsWindowVisible();
        if (!visible) {
            hud.ShowSettingsWindow();
        } else if (*visible) {
            hud.HideWindow();
        } else {
            const sRect main = m_host.MainWindowRect();
            hud.ShowSettingsWindowAt(sPoint{main.left, main.bottom});
        }
    }
}

void CTableList::SetMultiTable(bool multiTable) {
    m_bMultiTable = multiTable;
    for (auto& table : m_listTables) {
        if (table.m_pHud) {
            table.m_pHud->SetMultiTable(multiTable);
            table.m_pHud->ApplyOverlayPositions();
            table.m_pHud->RefreshOverlays();
        }
    }
}

void CTableList::SetHideHuds(bool hide) {
    m_bHideHuds = hide;
    if (hide) {
        m_nLastSel = m_listBox.GetCurSel();
        m_listBox.SetCurSel(-1);
    } else {
        m_nLastSel = std::max(0, std::min(m_nLastSel, m_listBox.GetCount() - 1));
        m_listBox.SetCurSel(m_nLastSel);
    }
    UpdateTableHuds();
}
