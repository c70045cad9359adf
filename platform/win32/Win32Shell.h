// The shell's "open" verb for the portable logic: programs, documents, web and mail addresses.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/win32/Utf16.h"

class CWin32Shell final : public IShellOpener {
public:
    explicit CWin32Shell(HWND owner = nullptr) noexcept : m_hOwner(owner) {}

    void Open(const std::string& file, const std::string& parameters, bool hidden) override {
        // The result is not looked at: a failed open has nothing the user could act on. UTF-16,
        // as the file (UTF-8 like every path here) may lie in a folder of any name.
        const std::wstring wideFile = WideFromUtf8(file);
        const std::wstring wideParameters = WideFromUtf8(parameters);
        ShellExecuteW(m_hOwner, L"open", wideFile.c_str(),
                      wideParameters.empty() ? nullptr : wideParameters.c_str(), nullptr,
                      hidden ? SW_HIDE : SW_SHOWNORMAL);
    }

private:
    HWND m_hOwner;
};
