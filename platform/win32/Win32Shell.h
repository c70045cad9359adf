// The shell's "open" verb for the portable logic: programs, documents, web and mail addresses.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "app/StartupLogic.h"

class CWin32Shell final : public IShellOpener {
public:
    explicit CWin32Shell(HWND owner = nullptr) noexcept : m_hOwner(owner) {}

    void Open(const std::string& file, const std::string& parameters, bool hidden) override {
        // The result is not looked at: a failed open has nothing the user could act on.
        ShellExecuteA(m_hOwner, "open", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                      hidden ? SW_HIDE : SW_SHOWNORMAL);
    }

private:
    HWND m_hOwner;
};
