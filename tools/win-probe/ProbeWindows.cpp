#include "ProbeWindows.h"

#include <cstring>

namespace {

// Long enough for a program busy painting, short enough that a hung one fails the test soon.
constexpr UINT kMessageTimeoutMs = 5000;

struct sCaptionSearch {
    std::string_view m_part;
    HWND m_hFound = nullptr;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<sCaptionSearch*>(param);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    char caption[512] = {};
    GetWindowTextA(window, caption, static_cast<int>(sizeof(caption)));
    if (std::string_view(caption).find(search->m_part) == std::string_view::npos) {
        return TRUE;
    }
    search->m_hFound = window;
    return FALSE;
}

std::string CharUpperCopy(const char* text) {
    std::string upper(text);
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

BOOL CALLBACK CollectControl(HWND window, LPARAM param) {
    auto* controls = reinterpret_cast<std::vector<sControlInfo>*>(param);
    sControlInfo info;
    info.m_nId = GetDlgCtrlID(window);
    char className[256] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof(className)));
    info.m_strClass = className;
    GetWindowRect(window, &info.m_rcScreen);
    // Buttons and labels keep their text as the window's own, which GetWindowText reads without
    // a round trip to the other process; edit boxes hold theirs inside the control.
    const bool holdsOwnText = lstrcmpiA(className, "Edit") == 0 ||
                              CharUpperCopy(className).find("RICHEDIT") != std::string::npos;
    if (holdsOwnText) {
        info.m_strText = ReadWindowText(window);
    } else {
        char text[1024] = {};
        GetWindowTextA(window, text, static_cast<int>(sizeof(text)));
        info.m_strText = text;
    }

    const LONG_PTR buttonType = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
    const bool checkable = lstrcmpiA(className, "Button") == 0 &&
                           (buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX ||
                            buttonType == BS_3STATE || buttonType == BS_AUTO3STATE ||
                            buttonType == BS_RADIOBUTTON || buttonType == BS_AUTORADIOBUTTON);
    if (checkable) {
        DWORD_PTR state = 0;
        if (SendMessageTimeoutA(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                                &state) != 0) {
            info.m_nCheck = static_cast<int>(state);
        }
    }
    controls->push_back(std::move(info));
    return TRUE;
}

}  // namespace

HWND FindWindowByCaption(std::string_view captionPart) {
    sCaptionSearch search{captionPart};
    EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.m_hFound;
}

std::vector<sControlInfo> ReadControls(HWND dialog) {
    std::vector<sControlInfo> controls;
    EnumChildWindows(dialog, &CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

namespace {

struct sOwnedSearch {
    HWND m_hOwner;
    std::vector<HWND> m_found;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<sOwnedSearch*>(param);
    if (search->m_hOwner == nullptr || GetWindow(window, GW_OWNER) == search->m_hOwner) {
        search->m_found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> OwnedWindows(HWND owner) {
    sOwnedSearch search{owner, {}};
    EnumWindows(&CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.m_found;
}

std::string ReadWindowText(HWND window) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                            &length) == 0) {
        return {};
    }
    // The length may be counted in wide characters or be an upper bound; leave room either way.
    std::string text(static_cast<size_t>(length) * 2 + 1, '\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied) == 0) {
        return {};
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}
