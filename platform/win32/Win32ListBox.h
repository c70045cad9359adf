// A list box control as the table list logic sees it: each call is one list box message, sent in
// UTF-16 so that table names outside the ANSI code page show as they are (the logic's texts are
// UTF-8).
#pragma once

#include <windows.h>

#include <string>

#include "platform/ListBox.h"
#include "platform/win32/Utf16.h"

class CWin32ListBox final : public IListBox {
public:
    explicit CWin32ListBox(HWND listBox) noexcept : m_hList(listBox) {}

    [[nodiscard]] int GetCount() override {
        const LRESULT count = Send(LB_GETCOUNT, 0, 0);
        return count == LB_ERR ? 0 : static_cast<int>(count);
    }
    [[nodiscard]] std::string GetText(int index) override {
        const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR || length <= 0) {
            return {};
        }
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied =
            Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied == LB_ERR || copied < 0 ? 0 : static_cast<size_t>(copied));
        return Utf8FromWide(text);
    }
    void AddString(const std::string& text) override {
        const std::wstring wide = WideFromUtf8(text);
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    void InsertString(int index, const std::string& text) override {
        const std::wstring wide = WideFromUtf8(text);
        Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
    }
    void DeleteString(int index) override { Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
    [[nodiscard]] int GetCurSel() override {
        const LRESULT selected = Send(LB_GETCURSEL, 0, 0);
        return selected == LB_ERR ? -1 : static_cast<int>(selected);
    }
    void SetCurSel(int index) override { Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(m_hList, message, wParam, lParam);
    }

    HWND m_hList;
};
