#include "hud/TableHudDlg.h"

#include "hud/SeatText.h"
#include "overlay/Settings.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Screen.h"
#include "platform/win32/Win32Taskbar.h"
#include "resources/resource.h"

namespace {

// Where a new overlay waits, hidden, until the first layout is applied: a row of 90-pixel steps.
constexpr int kInitialOverlayStep = 90;
constexpr int kInitialOverlayY = 500;

constexpr std::array<int, 3> kSizeRadios = {IDC_SIZE_HEADSUP, IDC_SIZE_6MAX, IDC_SIZE_FULLRING};

sScreenSize PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The keys as they are right now: the poker client has the keyboard, so this thread's own key
// state (GetKeyState) would never see them.
class CWin32ModifierKeys final : public IModifierKeys {
public:
    bool IsCtrlDown() override { return IsDown(VK_CONTROL); }
    bool IsShiftDown() override { return IsDown(VK_SHIFT); }
    bool IsAltDown() override { return IsDown(VK_MENU); }

private:
    static bool IsDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }
};

uint64_t& RefreshTickCount() noexcept {
    static uint64_t ticks = 0;
    return ticks;
}

}  // namespace

uint64_t HudRefreshTicks() noexcept {
    return RefreshTickCount();
}

CTableHudDlg::CTableHudDlg(_sTableOpenInfo& table, HWND mainWindow, ISettingsStore& store,
                           const CStatsStore& stats)
    : CDialogBase(IDD_TABLE_HUD),
      m_pTable(&table),
      m_hMainWindow(mainWindow),
      m_store(store),
      m_stats(stats) {
    // Built here, once for all HUDs, so that no refresh tick pays for it.
    (void)OverlayPositionNames();
}

CTableHudDlg::~CTableHudDlg() {
    // No tick may reach overlays that are gone; the window itself goes with the base class.
    if (Hwnd() != nullptr) {
        KillTimer(Hwnd(), kRefreshTimerId);
    }
    for (auto& overlay : m_pOverlay) {
        overlay.reset();
    }
}

bool CTableHudDlg::ReadSeats() {
    return m_seatReader.ReadSeats(*m_pTable, m_stats, m_seats);
}

void CTableHudDlg::CreateHiddenWindow(const std::string& title, sPoint topLeft) {
    if (Hwnd() == nullptr && Create(m_hMainWindow) == nullptr) {
        return;
    }
    // The title holds the table's name, UTF-8 like its file's name.
    SetWindowTextW(Hwnd(), WideFromUtf8(title).c_str());
    SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void CTableHudDlg::HideWindow() {
    if (Hwnd() != nullptr) {
        ShowWindow(Hwnd(), SW_HIDE);
    }
}

std::optional<bool> CTableHudDlg::IsSettingsWindowVisible() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (Hwnd() == nullptr || GetWindowPlacement(Hwnd(), &placement) == FALSE) {
        return std::nullopt;
    }
    return IsWindowVisible(Hwnd()) != FALSE;
}

void CTableHudDlg::ShowSettingsWindow() {
    if (Hwnd() != nullptr) {
        ShowWindow(Hwnd(), SW_SHOW);
    }
}

void CTableHudDlg::ShowSettingsWindowAt(sPoint topLeft) {
    if (Hwnd() == nullptr) {
        return;
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CTableHudDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++RefreshTickCount();
        RefreshOverlays();
        return TRUE;
    }
    return CDialogBase::OnMessage(message, wParam, lParam);
}

BOOL CTableHudDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    CreateOverlays();
    FillEnvironmentList();
    // May settle m_nLayoutSize for the radio buttons below; a failure changes nothing here.
    (void)ReadSeats();
    for (int radio : kSizeRadios) {
        SetChecked(radio, false);
    }
    SetChecked(kSizeRadios[static_cast<size_t>(RadioForLayoutSize(m_seats.m_nLayoutSize))], true);
    SetTimer(Hwnd(), kRefreshTimerId, kRefreshPeriodMs, nullptr);
    // FALSE: no keyboard focus is set inside the hidden window, so the main window (or the
    // poker client) keeps the activation.
    return FALSE;
}

void CTableHudDlg::CreateOverlays() {
    // The setting counts only now: overlays keep their styles for the life of the HUD.
    const bool transparent = g_settings.TransparentWindows;
    for (int k = 0; k < kSeatCount; ++k) {
        auto overlay = std::make_unique<CPlayerOverlayDlg>();
        if (!overlay->CreateOverlay(m_hMainWindow, transparent)) {
            continue;
        }
        overlay->MoveHidden({kInitialOverlayStep * k, kInitialOverlayY});
        m_pOverlay[static_cast<size_t>(k)] = std::move(overlay);
    }
}

void CTableHudDlg::FillEnvironmentList() {
    const HWND list = Item(IDC_ENVIRONMENT);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const sEnvironment& environment : EnvironmentCatalogue()) {
        const std::string text(environment.listText);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(EnvironmentForTable(m_pTable->m_strName)),
                 0);
}

BOOL CTableHudDlg::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case IDC_ENVIRONMENT:
            if (code == CBN_SELCHANGE) {
                ApplyOverlayPositions();
            }
            return TRUE;
        case IDC_SIZE_HEADSUP:
        case IDC_SIZE_6MAX:
        case IDC_SIZE_FULLRING:
            if (code == BN_CLICKED) {
                ApplyOverlayPositions();
            }
            return TRUE;
        case IDC_SAVE_LAYOUT:
            SaveOverlayPositions();
            return TRUE;
        case IDC_HUD_OK:
            HideWindow();
            return TRUE;
        default:
            return CDialogBase::OnCommand(id, code, control);
    }
}

std::optional<sLayoutChoice> CTableHudDlg::ChosenLayout() {
    // No window yet: no environment list or size buttons to choose from.
    if (Hwnd() == nullptr) {
        return std::nullopt;
    }
    const LRESULT selection = SendDlgItemMessageA(Hwnd(), IDC_ENVIRONMENT, CB_GETCURSEL, 0, 0);
    int checkedRadio = -1;
    for (size_t size = 0; size < kSizeRadios.size(); ++size) {
        if (IsChecked(kSizeRadios[size])) {
            checkedRadio = static_cast<int>(size);
            break;
        }
    }
    return ChooseLayout(selection == CB_ERR ? -1 : static_cast<int>(selection), checkedRadio,
                        m_bMultiTable, m_seats.m_nLayoutSize);
}

void CTableHudDlg::ApplyOverlayPositions() {
    const std::optional<sLayoutChoice> choice = ChosenLayout();
    if (!choice) {
        return;
    }
    const sScreenSize screen = PrimaryScreen();
    CWin32Taskbar taskbar;
    const std::array<sPoint, kSeatCount> positions =
        PlaceOverlays(m_store, *choice, screen, TaskbarHeight(taskbar, screen.height));
    for (size_t i = 0; i < kSeatCount; ++i) {
        if (m_pOverlay[i]) {
            // Hidden until the next refresh shows the seated ones.
            m_pOverlay[i]->MoveHidden(positions[i]);
        }
    }
}

void CTableHudDlg::SaveOverlayPositions() {
    const std::optional<sLayoutChoice> choice = ChosenLayout();
    if (!choice) {
        return;
    }
    std::array<std::optional<sPoint>, kSeatCount> topLefts;
    for (size_t i = 0; i < kSeatCount; ++i) {
        if (m_pOverlay[i]) {
            const sRect rc = m_pOverlay[i]->ScreenRect();
            topLefts[i] = sPoint{rc.left, rc.top};
        }
    }
    ::SaveOverlayPositions(m_store, *choice, PrimaryScreen(), topLefts);
}

void CTableHudDlg::RefreshOverlays() {
    if (Hwnd() == nullptr) {
        return;
    }
    CWin32Windows windows(m_hMainWindow);
    CWin32ModifierKeys keys;
    RunOverlayRefresh(*this, OverlayPointers(), m_bActive, windows, keys);
}

std::array<CPlayerOverlay*, kSeatCount> CTableHudDlg::OverlayPointers() const {
    std::array<CPlayerOverlay*, kSeatCount> pointers{};
    for (size_t i = 0; i < kSeatCount; ++i) {
        pointers[i] = m_pOverlay[i].get();
    }
    return pointers;
}

void CTableHudDlg::SetHeading(const std::string& text) {
    // Setting an unchanged text would still repaint the control every 150 ms.
    if (text != m_strHeading) {
        m_strHeading = text;
        SetItemText(IDC_HEADING, text);
    }
}

bool CTableHudDlg::IsSeatEmpty(int seat) const {
    return m_seats.m_strSeatName[static_cast<size_t>(seat)].empty();
}

void CTableHudDlg::ComposeSeat(int seat, sSeatDisplay& out) {
    out.colour = ComposeSeatText(m_stats, g_settings, m_seats, seat, out.texts);
}
