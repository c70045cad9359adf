// A small dialog base for the Win32 windows: the object is attached to its window from
// WM_INITDIALOG until WM_NCDESTROY, each message is dispatched to one virtual handler, and no
// exception ever leaves the window procedure.
#pragma once

#include <windows.h>

#include <string>

class CDialogBase {
public:
    explicit CDialogBase(UINT templateId) : m_templateId(templateId) {}
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Runs the dialog modally (owner may be null); returns the value given to EndDialog, or -1.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modeless (hidden unless the template is visible); null on failure.
    HWND Create(HWND owner);
    [[nodiscard]] HWND Hwnd() const noexcept { return m_hwnd; }

protected:
    // The message map: derived classes switch on the message and `return OnX(...)`, and fall
    // back to CDialogBase::OnMessage for everything else. The result is the dialog procedure's
    // (TRUE when handled; use SetMsgResult for messages that return a value).
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND from a control or menu; the default ends the dialog on IDOK / IDCANCEL.
    virtual BOOL OnCommand(WORD id, WORD code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    void EndDialog(INT_PTR result);
    void SetMsgResult(LRESULT result);

    [[nodiscard]] HWND Item(int id) const noexcept { return GetDlgItem(m_hwnd, id); }
    [[nodiscard]] bool IsChecked(int id) const noexcept;
    [[nodiscard]] UINT CheckState(
        int id) const noexcept;  // BST_UNCHECKED / CHECKED / INDETERMINATE
    void SetChecked(int id, bool checked) noexcept;
    [[nodiscard]] std::string ItemText(int id) const;  // ANSI text of a control
    void SetItemText(int id, const std::string& text) noexcept;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    bool m_bModal = false;
};
