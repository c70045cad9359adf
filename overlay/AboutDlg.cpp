#include "overlay/AboutDlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "overlay/InfoPanelText.h"
#include "platform/win32/Utf16.h"
#include "resources/resource.h"

namespace {

// A link longer than this is not an address anyone clicked on purpose.
constexpr LONG kMaxLinkChars = 2048;

// Shell failures (a missing file, no program for an address) are deliberately ignored: the
// panel stays open.
void OpenWithShell(HWND owner, const std::string& address, int showCommand) {
    ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, showCommand);
}

// The rich text handed to the control in EM_STREAMIN chunks.
struct sStreamSource {
    const char* m_pNext;
    size_t m_nLeft;
};

DWORD CALLBACK ReadStreamChunk(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* copied) {
    auto* source = reinterpret_cast<sStreamSource*>(cookie);
    const size_t count = std::min(source->m_nLeft, static_cast<size_t>(std::max(capacity, 0L)));
    std::memcpy(buffer, source->m_pNext, count);
    source->m_pNext += count;
    source->m_nLeft -= count;
    *copied = static_cast<LONG>(count);
    return 0;
}

// The program file's full path in UTF-8; empty when the system does not give it whole.
std::string ProgramPath() {
    std::wstring path(32768, L'\0');  // the longest path Windows knows
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return {};
    }
    path.resize(length);
    return Utf8FromWide(path);
}

// The user guide beside the program, in the program Windows opens text files with; a failure is
// ignored as in OpenWithShell. Wide, as the program's folder may have any name.
void OpenUserGuide(HWND owner) {
    const std::wstring guide = WideFromUtf8(UserGuidePath(ProgramPath()));
    ShellExecuteW(owner, L"open", guide.c_str(), nullptr, nullptr, SW_SHOW);
}

std::string WideToAnsi(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, length, converted.data(), size, nullptr, nullptr);
    }
    return converted;
}

}  // namespace

CAboutDlg::CAboutDlg(uint32_t hands, int32_t players, sHistoryFolder folder)
    : CDialogBase(IDD_ABOUTBOX),
      m_nHands(hands),
      m_nPlayers(players),
      m_folder(std::move(folder)) {}

INT_PTR CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == IDC_INFO_TEXT && header->code == EN_LINK) {
            return OnLink(*reinterpret_cast<const ENLINK*>(lParam));
        }
    }
    return CDialogBase::OnMessage(message, wParam, lParam);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    FillPanelText();
    MakeTopmost();
    // Start on the default button, so that Enter presses it rather than reaching the text.
    SendMessageA(Hwnd(), DM_SETDEFID, IDC_VISIT, 0);
    if (HWND visit = Item(IDC_VISIT)) {
        SetFocus(visit);
        return FALSE;  // focus set here
    }
    return TRUE;
}

BOOL CAboutDlg::OnCommand(WORD id, WORD code, HWND control) {
    // Each button leads to the help there is: the guide.
    if (code == BN_CLICKED && (id == IDC_VISIT || id == IDC_UPDATES || id == IDC_EMAIL)) {
        OpenUserGuide(Hwnd());
        return TRUE;
    }
    // IDOK (Enter) and IDCANCEL (Escape, close box).
    return CDialogBase::OnCommand(id, code, control);
}

void CAboutDlg::OnOK() {
    OpenUserGuide(Hwnd());
}

void CAboutDlg::FillPanelText() const {
    HWND text = Item(IDC_INFO_TEXT);
    if (text == nullptr) {
        return;
    }
    SendMessageA(text, EM_SETBKGNDCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(text, EM_AUTOURLDETECT, TRUE, 0);
    SendMessageA(text, EM_SETEVENTMASK, 0, ENM_LINK);

    // Streamed in as rich text, so the control never has to guess the format.
    const std::string rtf = InfoPanelText(m_nHands, m_nPlayers, m_folder);
    sStreamSource source{rtf.data(), rtf.size()};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadStreamChunk;
    SendMessageA(text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void CAboutDlg::MakeTopmost() const {
    const LONG_PTR exStyle = GetWindowLongPtrA(Hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrA(Hwnd(), GWL_EXSTYLE, exStyle | WS_EX_TOPMOST);
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

INT_PTR CAboutDlg::OnLink(const ENLINK& link) {
    const LONG length = link.chrg.cpMax - link.chrg.cpMin;
    if (link.msg == WM_LBUTTONDOWN && link.chrg.cpMin >= 0 && length > 0 &&
        length <= kMaxLinkChars) {
        // The control is a Unicode window (RichEdit50W): its text ranges come back as UTF-16,
        // whichever SendMessage variant asks, so ask in UTF-16 and convert to the ANSI code page.
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        TEXTRANGEW range{};
        range.chrg = link.chrg;
        range.lpstrText = wide.data();
        const LRESULT copied =
            SendMessageW(Item(IDC_INFO_TEXT), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        if (copied > 0) {
            OpenWithShell(Hwnd(), WideToAnsi(wide.data(), static_cast<int>(copied)), SW_SHOWNORMAL);
        }
    }
    SetMsgResult(0);
    return TRUE;
}
