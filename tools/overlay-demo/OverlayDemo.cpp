// overlay-demo: four seat overlays with sample texts and colours, owned by a small window of its
// own, for checking painting, hovering, dragging and focus by hand or by script under Wine.
//
//   overlay-demo [--transparent] [--state N] [--at X,Y]
//
// --transparent makes the overlays layered with the black colour key; --state N (0..3) starts
// every overlay in that display state; --at X,Y places the first overlay (the others follow to
// its right and below). It prints, one line each and flushed at once:
//   overlay I X Y           the starting position of overlay I
//   state I N               overlay I changed its display state to N
//   moved I X Y             a drag of overlay I ended with its top-left at X, Y
//   foreground CLASS        the foreground window changed (its class name, "-" for none)
// It ends when its window "Overlay Demo" is closed.
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "overlay/PlayerOverlayDlg.h"

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 50;
constexpr int kOverlayCount = 4;

struct sSampleSeat {
    std::array<const char*, kOverlayStateCount> texts;
    COLORREF colour;
};

// Texts in the shape the HUD gives them: a name line, then the numbers; the last two seats show
// a mnemonic ampersand and more lines than fit.
const std::array<sSampleSeat, kOverlayCount> kSeats{{
    {{"Marlowe [1234]\n23/18/30/55\n3b 7.5 ft 60", "cbet 64/50/41\nftcb 40/38/35\naf 2.1/1.8/1.2",
      "Name [hands]\nVPIP/PFR/WTSD/W$SD\n3bet ft3bet", "cbet f/t/r\nftcbet f/t/r\nAF f/t/r"},
     RGB(0, 255, 0)},
    {{"Quill99 [87]\n41/12/28\n3b 2.0 ft 75", "cbet 40/33/20\nftcb 55/50/0\naf 1.0/0.5/0.0",
      "Name [hands]\nVPIP/PFR/WTSD\n3bet ft3bet", "cbet f/t/r\nftcbet f/t/r\nAF f/t/r"},
     RGB(255, 255, 0)},
    {{"&Tom && Jerry [12]\n60/5/50", "cbet 0/0/0*", "Name [hands]", "cbet"}, RGB(255, 0, 0)},
    {{"line 1\nline 2\nline 3\nline 4 (cut off)", "hover 1\nhover 2", "names", "hover names"},
     RGB(255, 255, 255)},
}};

struct sDemo {
    std::vector<std::unique_ptr<CPlayerOverlayDlg>> overlays;
    std::vector<eOverlayState> states;
    HWND lastForeground = nullptr;
};
sDemo g_demo;  // one demo per process; the window procedure reaches it here

std::string ClassOf(HWND hwnd) {
    if (hwnd == nullptr) {
        return "-";
    }
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

void Watch() {
    for (size_t i = 0; i < g_demo.overlays.size(); ++i) {
        CPlayerOverlayDlg& overlay = *g_demo.overlays[i];
        if (overlay.State() != g_demo.states[i]) {
            g_demo.states[i] = overlay.State();
            std::printf("state %zu %d\n", i, static_cast<int>(overlay.State()));
        }
        if (overlay.TakeMoved()) {
            const sRect rc = overlay.ScreenRect();
            std::printf("moved %zu %d %d\n", i, static_cast<int>(rc.left),
                        static_cast<int>(rc.top));
        }
    }
    const HWND foreground = GetForegroundWindow();
    if (foreground != g_demo.lastForeground) {
        g_demo.lastForeground = foreground;
        std::printf("foreground %s\n", ClassOf(foreground).c_str());
    }
    std::fflush(stdout);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kWatchTimer) {
                Watch();
            }
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kWatchTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

struct sOptions {
    bool transparent = false;
    eOverlayState state = OVERLAY_NORMAL;
    POINT at{120, 120};
};

bool ParseArgs(int argc, char** argv, sOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--transparent") {
            options.transparent = true;
        } else if (arg == "--state" && i + 1 < argc) {
            const int state = std::atoi(argv[++i]);
            if (state < 0 || state >= kOverlayStateCount) {
                return false;
            }
            options.state = static_cast<eOverlayState>(state);
        } else if (arg == "--at" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%ld,%ld", &options.at.x, &options.at.y) != 2) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    sOptions options;
    if (!ParseArgs(argc, argv, options)) {
        std::fputs("usage: overlay-demo [--transparent] [--state 0..3] [--at X,Y]\n", stderr);
        return 2;
    }
    SetProcessDPIAware();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA ownerClass{};
    ownerClass.lpfnWndProc = OwnerProc;
    ownerClass.hInstance = instance;
    ownerClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    ownerClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ownerClass.lpszClassName = "LanternquillOverlayDemo";
    if (RegisterClassA(&ownerClass) == 0) {
        return 1;
    }
    // The owner stands in for the main window, away from the overlays.
    HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, ownerClass.lpszClassName, "Overlay Demo",
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 1500, 40, 200, 80,
                                 nullptr, nullptr, instance, nullptr);
    if (owner == nullptr) {
        return 1;
    }
    ShowWindow(owner, SW_SHOWNOACTIVATE);

    for (int k = 0; k < kOverlayCount; ++k) {
        auto overlay = std::make_unique<CPlayerOverlayDlg>();
        if (!overlay->CreateOverlay(owner, options.transparent)) {
            std::fprintf(stderr, "overlay-demo: cannot create overlay %d\n", k);
            return 1;
        }
        const sSampleSeat& seat = kSeats[static_cast<size_t>(k)];
        for (int i = 0; i < kOverlayStateCount; ++i) {
            overlay->SetText(i, seat.texts[static_cast<size_t>(i)]);
        }
        overlay->SetTextColour(seat.colour);
        HoldState(*overlay, options.state);
        const sPoint at{options.at.x + (k % 2) * 180, options.at.y + (k / 2) * 120};
        overlay->MoveHidden(at);
        overlay->Show();
        overlay->KeepOnTop(true);
        std::printf("overlay %d %d %d\n", k, static_cast<int>(at.x), static_cast<int>(at.y));
        g_demo.states.push_back(overlay->State());
        g_demo.overlays.push_back(std::move(overlay));
    }
    std::fflush(stdout);
    SetTimer(owner, kWatchTimer, kWatchMs, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    g_demo.overlays.clear();
    return 0;
}
