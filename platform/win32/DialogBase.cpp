#include "platform/win32/DialogBase.h"

#include <vector>

CDialogBase::~CDialogBase() {
    // A modeless window that outlives its object would call into freed memory: detach it first,
    // then destroy it.
    if (m_hwnd != nullptr) {
        const HWND hwnd = m_hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        m_hwnd = nullptr;
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialogBase::DoModal(HWND owner) {
    m_bModal = true;
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                        &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

HWND CDialogBase::Create(HWND owner) {
    m_bModal = false;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                              &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        default:
            return FALSE;
    }
}

BOOL CDialogBase::OnCommand(WORD id, WORD /*code*/, HWND /*control*/) {
    // Escape and the close box arrive as IDCANCEL, Enter on the default button as IDOK.
    switch (id) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            return FALSE;
    }
}

void CDialogBase::EndDialog(INT_PTR result) {
    if (m_hwnd == nullptr) {
        return;
    }
    if (m_bModal) {
        ::EndDialog(m_hwnd, result);
    } else {
        DestroyWindow(m_hwnd);
    }
}

void CDialogBase::SetMsgResult(LRESULT result) {
    SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
}

bool CDialogBase::IsChecked(int id) const noexcept {
    return CheckState(id) == BST_CHECKED;
}

UINT CDialogBase::CheckState(int id) const noexcept {
    return IsDlgButtonChecked(m_hwnd, id);
}

void CDialogBase::SetChecked(int id, bool checked) noexcept {
    CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::string CDialogBase::ItemText(int id) const {
    const HWND item = Item(id);
    if (item == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthA(item);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)};
}

void CDialogBase::SetItemText(int id, const std::string& text) noexcept {
    SetDlgItemTextA(m_hwnd, id, text.c_str());
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) and after the object let go get the defaults.
    if (self == nullptr) {
        return FALSE;
    }

    INT_PTR result = FALSE;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // An exception (out of memory) ends the operation the message started, never the
        // process from inside the system's dispatch code. A dialog whose set-up failed is of
        // no use and is closed.
        result = FALSE;
        if (message == WM_INITDIALOG) {
            self->EndDialog(-1);
        }
    }

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}
