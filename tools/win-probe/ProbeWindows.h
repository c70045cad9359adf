// Finding another program's top-level window by its caption and reading its controls. Text is
// read with messages (WM_GETTEXT), which Windows carries across processes, unlike GetWindowText
// on another process's control.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct sControlInfo {
    int m_nId = 0;
    std::string m_strClass;
    int m_nCheck = -1;  // BST_* of a check box or radio button; -1 for other controls
    RECT m_rcScreen{};
    std::string m_strText;
};

// The first visible top-level window whose caption contains `captionPart`, or null.
HWND FindWindowByCaption(std::string_view captionPart);

// Every child control of `dialog` in z-order, including controls inside group boxes.
std::vector<sControlInfo> ReadControls(HWND dialog);

// The control's text through WM_GETTEXT (ANSI); empty when the owner does not answer in time.
std::string ReadWindowText(HWND window);

// Every top-level window whose owner is `owner` (any owner when null), in z-order, top first.
std::vector<HWND> OwnedWindows(HWND owner);
