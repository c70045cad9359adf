// The shell's folder picker (the common item dialog picking folders), in UTF-16, owned by a
// window of ours.
#pragma once

#include <windows.h>

#include "platform/FolderPicker.h"

class CWin32FolderPicker final : public IFolderPicker {
public:
    explicit CWin32FolderPicker(HWND owner) noexcept : m_hOwner(owner) {}

    std::optional<std::string> PickFolder(const std::string& start) override;

private:
    HWND m_hOwner;
};
