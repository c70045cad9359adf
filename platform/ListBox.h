// The main window's table list box (control 1005: not sorted, single selection) as the table
// tracking and automatic switching logic sees it, and an in-memory list box for tests.
//
// Win32 side (every call is one SendDlgItemMessageA on the list box, with A-strings):
//   GetCount()            LB_GETCOUNT
//   GetText(i)            LB_GETTEXTLEN + LB_GETTEXT (empty text for a bad index)
//   AddString(s)          LB_ADDSTRING
//   InsertString(i, s)    LB_INSERTSTRING
//   DeleteString(i)       LB_DELETESTRING
//   GetCurSel()           LB_GETCURSEL (LB_ERR, i.e. -1, when nothing is selected)
//   SetCurSel(i)          LB_SETCURSEL (-1 removes the selection)
// Setting the selection from code sends no selection change notification, so the logic calls
// OnSelChangeTables itself where it has to.
#pragma once

#include <string>
#include <vector>

class IListBox {
public:
    virtual ~IListBox() = default;
    [[nodiscard]] virtual int GetCount() = 0;
    [[nodiscard]] virtual std::string GetText(int index) = 0;
    virtual void AddString(const std::string& text) = 0;
    virtual void InsertString(int index, const std::string& text) = 0;
    virtual void DeleteString(int index) = 0;
    // Index of the selected line, -1 when none.
    [[nodiscard]] virtual int GetCurSel() = 0;
    // Selects line `index`; -1 or an index past the end leaves no line selected.
    virtual void SetCurSel(int index) = 0;
};

// A list box held in memory, behaving like the Win32 one for the calls above: deleting the
// selected line leaves no selection, inserting or deleting above it keeps the same line
// selected.
class CMemoryListBox final : public IListBox {
public:
    CMemoryListBox() = default;
    explicit CMemoryListBox(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    [[nodiscard]] int GetCount() override { return static_cast<int>(m_lines.size()); }
    [[nodiscard]] std::string GetText(int index) override {
        return IsLine(index) ? m_lines[static_cast<size_t>(index)] : std::string();
    }
    void AddString(const std::string& text) override { m_lines.push_back(text); }
    void InsertString(int index, const std::string& text) override {
        if (index < 0 || index > GetCount()) {
            index = GetCount();
        }
        m_lines.insert(m_lines.begin() + index, text);
        if (m_nSel >= index) {
            ++m_nSel;
        }
    }
    void DeleteString(int index) override {
        if (!IsLine(index)) {
            return;
        }
        m_lines.erase(m_lines.begin() + index);
        if (m_nSel == index) {
            m_nSel = -1;
        } else if (m_nSel > index) {
            --m_nSel;
        }
    }
    [[nodiscard]] int GetCurSel() override { return m_nSel; }
    void SetCurSel(int index) override { m_nSel = IsLine(index) ? index : -1; }

    [[nodiscard]] const std::vector<std::string>& Lines() const { return m_lines; }

private:
    [[nodiscard]] bool IsLine(int index) const {
        return index >= 0 && index < static_cast<int>(m_lines.size());
    }

    std::vector<std::string> m_lines;
    int m_nSel = -1;
};
