// win-probe: what the end-to-end tests need to see inside another program's dialogs under Wine.
//
//   win-probe wait CAPTION [MS]         waits for a visible top-level window whose caption
//                                       contains CAPTION; prints its rectangle "x y w h"
//   win-probe wait-active CAPTION [MS]  the same, and waits until it is the foreground window
//   win-probe gone CAPTION [MS]         waits until no such window is left
//   win-probe controls CAPTION          one line per control, fields separated by tabs:
//                                       id, class, check state (0, 1, 2; "-" when not a check
//                                       box), x, y, width, height on the screen, text (CR LF,
//                                       LF and tab written as \n and \t)
//   win-probe set-text CAPTION ID TEXT  sets a control's text as a paste would (bypassing the
//                                       edit box's digits-only filter)
//   win-probe list CAPTION ID           the lines of a list box, one per output line, the
//                                       selected one preceded by "> " and the others by "  "
//   win-probe item CAPTION ID LINE      the screen rectangle "x y w h" of a list box line (from
//                                       the line height and the top line shown), so that a
//                                       test can click it
//   win-probe press CAPTION ID          presses a button as a click would (BM_CLICK)
//   win-probe close CAPTION             asks the window to close, as its close box does
//   win-probe owned CAPTION             the top-level windows owned by that window (its
//                                       overlays and tool windows; every top-level window for
//                                       the caption "*"), top of the z-order first,
//                                       one per line, fields separated by tabs: handle,
//                                       visible (0/1), topmost (0/1), x, y, width, height,
//                                       class, text
//   win-probe enabled CAPTION           1 when the window takes input (a window owning an open
//                                       modal dialog does not), else 0
//   win-probe focus CAPTION             the control of that window that has the keyboard
//                                       focus: "ID<tab>CLASS", or "-" when the focus is not in
//                                       it
//   win-probe hold FILE MS              opens FILE exclusively (no sharing) and keeps it open
//                                       for MS milliseconds, as a program writing it would;
//                                       prints "held" once the file is open
//   win-probe resources CAPTION         what the process owning that window holds, on one line:
//                                       "guires_gdi=N guires_user=N gdi=N windows=N ws_kb=N
//                                       private_kb=N" (GetGuiResources' two answers, the live
//                                       entries of its GDI handle table or -1, its windows, its
//                                       working set and private memory)
//   win-probe gdi-check N               creates N brushes in this process and prints its GDI
//                                       handle count before and after ("B A"), to show that
//                                       the count above follows the objects a program makes
//   win-probe ask CAPTION MESSAGE       sends the window the message registered under the name
//                                       MESSAGE and prints its answer
//
// Waits default to 10000 ms. Exit status: 0 done, 1 window not found in time, 2 bad usage.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ProbeWindows.h"
#include "ProcessResources.h"

namespace {

constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultWaitMs = 10000;
constexpr auto kPollInterval = std::chrono::milliseconds(25);

int Usage() {
    std::fputs(
        "usage: win-probe wait|wait-active|gone CAPTION [MS]\n"
        "       win-probe controls CAPTION\n"
        "       win-probe set-text CAPTION ID TEXT\n"
        "       win-probe list|press CAPTION ID\n"
        "       win-probe item CAPTION ID LINE\n"
        "       win-probe close|owned|enabled|focus CAPTION\n"
        "       win-probe hold FILE MS\n"
        "       win-probe resources CAPTION\n"
        "       win-probe gdi-check N\n"
        "       win-probe ask CAPTION MESSAGE\n",
        stderr);
    return kExitUsage;
}

// Polls `done` until it holds or `waitMs` have passed; true when it held.
template <typename Condition>
bool WaitFor(int waitMs, Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

// "caption" (class, process id) of a window, for saying which window was in the way.
std::string Described(HWND window) {
    if (window == nullptr) {
        return "none";
    }
    char caption[256] = {};
    GetWindowTextA(window, caption, static_cast<int>(sizeof(caption)));
    char className[256] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof(className)));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return "\"" + std::string(caption) + "\" (class " + className + ", process " +
           std::to_string(process) + (IsWindowVisible(window) != FALSE ? "" : ", hidden") + ")";
}

int Wait(const std::string& caption, int waitMs, bool mustBeActive) {
    HWND window = nullptr;
    const bool found = WaitFor(waitMs, [&] {
        window = FindWindowByCaption(caption);
        return window != nullptr && (!mustBeActive || GetForegroundWindow() == window);
    });
    if (!found) {
        std::fprintf(stderr, "win-probe: no %swindow \"%s\" after %d ms\n",
                     mustBeActive ? "active " : "", caption.c_str(), waitMs);
        if (mustBeActive) {
            // What a flaky wait needs explained: was the window there, and who had the keyboard.
            std::fprintf(stderr, "win-probe: the window: %s; in front: %s\n",
                         Described(window).c_str(), Described(GetForegroundWindow()).c_str());
        }
        return kExitNotFound;
    }
    RECT rc{};
    GetWindowRect(window, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

int Gone(const std::string& caption, int waitMs) {
    if (!WaitFor(waitMs, [&] { return FindWindowByCaption(caption) == nullptr; })) {
        std::fprintf(stderr, "win-probe: window \"%s\" still open after %d ms\n", caption.c_str(),
                     waitMs);
        return kExitNotFound;
    }
    return 0;
}

// The window, or null after saying that there is none.
HWND FindNamedWindow(const std::string& caption) {
    const HWND window = FindWindowByCaption(caption);
    if (window == nullptr) {
        std::fprintf(stderr, "win-probe: no window \"%s\"\n", caption.c_str());
    }
    return window;
}

int PrintControls(const std::string& caption) {
    const HWND window = FindNamedWindow(caption);
    if (window == nullptr) {
        return kExitNotFound;
    }
    for (const sControlInfo& control : ReadControls(window)) {
        const RECT& rc = control.m_rcScreen;
        const std::string check = control.m_nCheck < 0 ? "-" : std::to_string(control.m_nCheck);
        std::printf("%d\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%s\n", control.m_nId,
                    control.m_strClass.c_str(), check.c_str(), rc.left, rc.top, rc.right - rc.left,
                    rc.bottom - rc.top, Escaped(control.m_strText).c_str());
    }
    return 0;
}

HWND FindControl(const std::string& caption, int id) {
    const HWND window = FindWindowByCaption(caption);
    const HWND control = window != nullptr ? GetDlgItem(window, id) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "win-probe: no control %d in \"%s\"\n", id, caption.c_str());
    }
    return control;
}

LRESULT SendWithTimeout(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) ==
        0) {
        return LB_ERR;
    }
    return static_cast<LRESULT>(result);
}

int SetText(const std::string& caption, int id, const std::string& text) {
    const HWND control = FindControl(caption, id);
    if (control == nullptr) {
        return kExitNotFound;
    }
    SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

int PrintListLines(const std::string& caption, int id) {
    const HWND list = FindControl(caption, id);
    if (list == nullptr) {
        return kExitNotFound;
    }
    const LRESULT count = SendWithTimeout(list, LB_GETCOUNT, 0, 0);
    const LRESULT selected = SendWithTimeout(list, LB_GETCURSEL, 0, 0);
    for (LRESULT line = 0; line < count; ++line) {
        // Asked for in UTF-16 and printed as UTF-8: Wine hands a list box's text to another
        // process in UTF-16 whichever form was asked for, and names outside the ANSI code page
        // (Cyrillic, CJK table names) must read back as they are.
        const LRESULT length = SendWithTimeout(list, LB_GETTEXTLEN, line, 0);
        std::wstring wide(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(line),
                                reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 5000,
                                &copied) == 0 ||
            static_cast<LRESULT>(copied) == LB_ERR) {
            copied = 0;
        }
        wide.resize(static_cast<size_t>(copied));
        std::string text(wide.size() * 3 + 1, '\0');
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
        std::printf("%s%s\n", line == selected ? "> " : "  ", Escaped(text).c_str());
    }
    return 0;
}

int PrintListItemRect(const std::string& caption, int id, int line) {
    const HWND list = FindControl(caption, id);
    if (list == nullptr) {
        return kExitNotFound;
    }
    // Worked out here rather than asked for with LB_GETITEMRECT, whose RECT pointer would have
    // to cross into the other process.
    const LRESULT height = SendWithTimeout(list, LB_GETITEMHEIGHT, 0, 0);
    const LRESULT top = SendWithTimeout(list, LB_GETTOPINDEX, 0, 0);
    if (height == LB_ERR || height <= 0 || top == LB_ERR) {
        std::fprintf(stderr, "win-probe: cannot read the lines of control %d\n", id);
        return kExitNotFound;
    }
    RECT client{};
    GetClientRect(list, &client);
    POINT origin{0, static_cast<LONG>((line - top) * height)};
    ClientToScreen(list, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right - client.left,
                static_cast<long>(height));
    return 0;
}

int Press(const std::string& caption, int id) {
    const HWND button = FindControl(caption, id);
    if (button == nullptr) {
        return kExitNotFound;
    }
    // Posted: the button's handler may open a modal dialog, which would keep a sent message
    // waiting until it closes.
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

int Close(const std::string& caption) {
    const HWND window = FindNamedWindow(caption);
    if (window == nullptr) {
        return kExitNotFound;
    }
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

int PrintOwnedWindows(const std::string& caption) {
    // "*" lists every top-level window.
    const HWND owner = caption == "*" ? nullptr : FindNamedWindow(caption);
    if (owner == nullptr && caption != "*") {
        return kExitNotFound;
    }
    for (const HWND window : OwnedWindows(owner)) {
        RECT rc{};
        GetWindowRect(window, &rc);
        char className[256] = {};
        GetClassNameA(window, className, sizeof className);
        const bool topmost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        std::printf("%p\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\t%s\n", static_cast<void*>(window),
                    IsWindowVisible(window) != FALSE ? 1 : 0, topmost ? 1 : 0, rc.left, rc.top,
                    rc.right - rc.left, rc.bottom - rc.top, className,
                    Escaped(ReadWindowText(window)).c_str());
    }
    return 0;
}

int PrintEnabled(const std::string& caption) {
    const HWND window = FindNamedWindow(caption);
    if (window == nullptr) {
        return kExitNotFound;
    }
    std::printf("%d\n", IsWindowEnabled(window) != FALSE ? 1 : 0);
    return 0;
}

int PrintFocus(const std::string& caption) {
    const HWND window = FindNamedWindow(caption);
    if (window == nullptr) {
        return kExitNotFound;
    }
    // The focus of another program's thread, as the system keeps it for that thread.
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (GetGUIThreadInfo(thread, &info) == FALSE || info.hwndFocus == nullptr ||
        (info.hwndFocus != window && IsChild(window, info.hwndFocus) == FALSE)) {
        std::puts("-");
        return 0;
    }
    // A drop-down list's edit or list part counts as the drop-down list.
    HWND control = info.hwndFocus;
    while (control != window && GetParent(control) != window) {
        control = GetParent(control);
    }
    char className[256] = {};
    GetClassNameA(control, className, sizeof className);
    std::printf("%d\t%s\n", GetDlgCtrlID(control), className);
    return 0;
}

int Hold(const std::string& file, int holdMs) {
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "win-probe: cannot open \"%s\" (error %lu)\n", file.c_str(),
                     GetLastError());
        return kExitNotFound;
    }
    std::puts("held");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(holdMs));
    CloseHandle(handle);
    return 0;
}

int PrintResources(const std::string& caption) {
    const HWND window = FindNamedWindow(caption);
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) {
        return kExitNotFound;
    }
    const auto resources = ReadProcessResources(processId);
    if (!resources) {
        std::fprintf(stderr, "win-probe: cannot open process %lu\n", processId);
        return kExitNotFound;
    }
    constexpr uint64_t kKiB = 1024;
    std::printf("guires_gdi=%lu guires_user=%lu gdi=%ld windows=%u ws_kb=%llu private_kb=%llu\n",
                resources->m_guiResourcesGdi, resources->m_guiResourcesUser,
                resources->m_gdiHandles ? static_cast<long>(*resources->m_gdiHandles) : -1L,
                resources->m_windows,
                static_cast<unsigned long long>(resources->m_workingSetBytes / kKiB),
                static_cast<unsigned long long>(resources->m_privateBytes / kKiB));
    return 0;
}

long OwnGdiHandles() {
    const auto resources = ReadProcessResources(GetCurrentProcessId());
    return resources && resources->m_gdiHandles ? static_cast<long>(*resources->m_gdiHandles) : -1L;
}

int GdiCheck(int brushes) {
    const long before = OwnGdiHandles();
    std::vector<HBRUSH> made;
    for (int i = 0; i < brushes; ++i) {
        made.push_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
    }
    const long after = OwnGdiHandles();
    for (HBRUSH brush : made) {
        DeleteObject(brush);
    }
    std::printf("%ld %ld\n", before, after);
    return 0;
}

int Ask(const std::string& caption, const std::string& messageName) {
    const HWND window = FindNamedWindow(caption);
    const UINT message = RegisterWindowMessageA(messageName.c_str());
    DWORD_PTR answer = 0;
    if (window == nullptr || message == 0 ||
        SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, kDefaultWaitMs, &answer) ==
            0) {
        return kExitNotFound;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(answer));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF line ends, so the shell scripts reading this need not strip CRs.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) {
        return Usage();
    }
    const std::string& command = args[0];
    const std::string& caption = args[1];
    const int waitMs = args.size() >= 3 ? std::atoi(args[2].c_str()) : kDefaultWaitMs;
    if (command == "wait" || command == "wait-active") {
        return Wait(caption, waitMs, command == "wait-active");
    }
    if (command == "gone") {
        return Gone(caption, waitMs);
    }
    if (command == "controls") {
        return PrintControls(caption);
    }
    if (command == "list" && args.size() == 3) {
        return PrintListLines(caption, std::atoi(args[2].c_str()));
    }
    if (command == "owned") {
        return PrintOwnedWindows(caption);
    }
    if (command == "enabled") {
        return PrintEnabled(caption);
    }
    if (command == "focus") {
        return PrintFocus(caption);
    }
    if (command == "close") {
        return Close(caption);
    }
    if (command == "hold" && args.size() == 3) {
        return Hold(caption, waitMs);
    }
    if (command == "item" && args.size() == 4) {
        return PrintListItemRect(caption, std::atoi(args[2].c_str()), std::atoi(args[3].c_str()));
    }
    if (command == "press" && args.size() == 3) {
        return Press(caption, std::atoi(args[2].c_str()));
    }
    if (command == "resources") {
        return PrintResources(caption);
    }
    if (command == "gdi-check") {
        return GdiCheck(std::atoi(caption.c_str()));
    }
    if (command == "ask" && args.size() == 3) {
        return Ask(caption, args[2]);
    }
    if (command == "set-text" && args.size() == 4) {
        return SetText(caption, std::atoi(args[2].c_str()), args[3]);
    }
    return Usage();
}
