// pkr-standin: a stand-in for the PKR client, for the demo and the end-to-end tests. It shows a
// main window of class "PKR" and four mini-table views stacked at the right edge of the screen,
// each filled with one colour that a test chooses at start (--zones) and changes while it runs
// (a second invocation with --set sends the running one a WM_COPYDATA message).
#include <windows.h>

#include <algorithm>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "StandinOptions.h"
#include "platform/win32/ScopedWin.h"

namespace {

using CScopedBrush = CScopedHandle<sGdiObjectTraits<HBRUSH>>;

constexpr const char* kMainClass = "PKR";
constexpr const char* kViewClass = "PKRStandInMiniTable";
// WM_COPYDATA commands from a second invocation.
constexpr ULONG_PTR kCommandSet = 0x504B5201;
constexpr ULONG_PTR kCommandActivate = 0x504B5202;

struct sSetCommand {
    int32_t zone;
    uint32_t colour;
};

struct sStandin {
    std::array<uint32_t, 4> colours{};
    std::array<HWND, 4> views{};
};
sStandin g_standin;  // one stand-in per process; the window procedures reach it here

COLORREF TextColourOn(uint32_t colour) {
    const int brightness = (colour & 0xFF) + ((colour >> 8) & 0xFF) + ((colour >> 16) & 0xFF);
    return brightness > 3 * 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void PaintView(HWND hwnd, int zone) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    const uint32_t colour = g_standin.colours[static_cast<size_t>(zone)];
    const CScopedBrush brush(CreateSolidBrush(colour));
    FillRect(hdc, &client, brush.Get());
    // The label stays well inside the view: the HUD samples the column two pixels from the
    // screen's right edge, which must show the fill colour only.
    RECT label = client;
    InflateRect(&label, -8, -8);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, TextColourOn(colour));
    const std::string text = "Mini-table " + std::to_string(zone);
    DrawTextA(hdc, text.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintView(hwnd, static_cast<int>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) {
        return MA_NOACTIVATE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void ApplySet(const sSetCommand& command) {
    if (command.zone < 0 || command.zone > 3) {
        return;
    }
    const auto zone = static_cast<size_t>(command.zone);
    g_standin.colours[zone] = command.colour;
    InvalidateRect(g_standin.views[zone], nullptr, TRUE);
    UpdateWindow(g_standin.views[zone]);
    std::printf("pkr-standin: zone %d colour %06x\n", command.zone,
                static_cast<unsigned>(command.colour));
    std::fflush(stdout);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data->dwData == kCommandSet && data->cbData == sizeof(sSetCommand)) {
                ApplySet(*static_cast<const sSetCommand*>(data->lpData));
                return TRUE;
            }
            if (data->dwData == kCommandActivate) {
                ShowWindow(hwnd, SW_RESTORE);
                SetForegroundWindow(hwnd);
                return TRUE;
            }
            return FALSE;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(hwnd, &paint);
            RECT client;
            GetClientRect(hwnd, &client);
            const CScopedBrush felt(CreateSolidBrush(RGB(20, 90, 40)));
            FillRect(hdc, &client, felt.Get());
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, RGB(255, 255, 255));
            DrawTextA(hdc, "PKR client stand-in", -1, &client,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_DESTROY:
            for (HWND view : g_standin.views) {
                if (view != nullptr) {
                    DestroyWindow(view);
                }
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSA main{};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.hCursor = LoadCursor(nullptr, IDC_ARROW);
    main.lpszClassName = kMainClass;
    WNDCLASSA view = main;
    view.lpfnWndProc = ViewProc;
    view.lpszClassName = kViewClass;
    return RegisterClassA(&main) != 0 && RegisterClassA(&view) != 0;
}

int RunStandin(const standin::sOptions& options) {
    if (FindWindowA(kMainClass, nullptr) != nullptr) {
        std::fprintf(stderr, "pkr-standin: a window of class PKR is already open\n");
        return 1;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterClasses(instance)) {
        std::fprintf(stderr, "pkr-standin: cannot register the window classes\n");
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const auto zones = options.topZone ? standin::StackedZones(*options.topZone)
                                       : standin::DefaultZones(width, height, options.mainWidth);
    g_standin.colours = options.zones;

    // Every overlay of a single-table default layout sits over the table window.
    const standin::sRect table =
        options.table.value_or(standin::DefaultTableRect(height, zones[0].left));
    HWND main = CreateWindowExA(0, kMainClass, "PKR", WS_OVERLAPPEDWINDOW, table.left, table.top,
                                table.right - table.left, table.bottom - table.top, nullptr,
                                nullptr, instance, nullptr);
    if (main == nullptr) {
        std::fprintf(stderr, "pkr-standin: cannot create the main window\n");
        return 1;
    }
    std::printf("pkr-standin: screen %dx%d, main width %d\n", width, height, options.mainWidth);
    for (size_t z = 0; z < zones.size(); ++z) {
        const standin::sRect& r = zones[z];
        HWND view = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kViewClass,
                                    "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                    nullptr, nullptr, instance, nullptr);
        if (view == nullptr) {
            std::fprintf(stderr, "pkr-standin: cannot create view %zu\n", z);
            DestroyWindow(main);
            return 1;
        }
        SetWindowLongPtrA(view, GWLP_USERDATA, static_cast<LONG_PTR>(z));
        g_standin.views[z] = view;
        ShowWindow(view, SW_SHOWNOACTIVATE);
        std::printf("pkr-standin: zone %zu = %d,%d,%d,%d colour %06x\n", z, r.left, r.top, r.right,
                    r.bottom, static_cast<unsigned>(g_standin.colours[z]));
    }
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
    // Said only once the client is in front: a caller that goes on before this would see the
    // activation land on top of whatever it opened next.
    std::printf("pkr-standin: ready\n");
    std::fflush(stdout);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// Hands a command to the running stand-in.
int SendToRunning(const standin::sOptions& options) {
    HWND main = FindWindowA(kMainClass, nullptr);
    if (main == nullptr) {
        std::fprintf(stderr, "pkr-standin: no stand-in is running\n");
        return 1;
    }
    if (options.mode == standin::eMode::Quit) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    sSetCommand set{options.setZone, options.setColour};
    COPYDATASTRUCT data{};
    if (options.mode == standin::eMode::Set) {
        data.dwData = kCommandSet;
        data.cbData = sizeof set;
        data.lpData = &set;
    } else {
        data.dwData = kCommandActivate;
    }
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                            5000, &result) == 0 ||
        result != TRUE) {
        std::fprintf(stderr, "pkr-standin: the running stand-in did not answer\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    standin::sOptions options;
    std::string error;
    if (!standin::ParseOptions(args, options, error)) {
        std::fprintf(stderr, "pkr-standin: %s\n%s", error.c_str(), standin::Usage().c_str());
        return 2;
    }
    // Every line reaches the log at once (the C runtime buffers a redirected stdout whole), so a
    // stand-in that stops half way shows how far it came.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Screen coordinates in real pixels, as the HUD samples them.
    SetProcessDPIAware();
    switch (options.mode) {
        case standin::eMode::Help:
            std::fputs(standin::Usage().c_str(), stdout);
            return 0;
        case standin::eMode::Run:
            return RunStandin(options);
        default:
            return SendToRunning(options);
    }
}
