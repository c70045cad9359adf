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
//
// Waits default to 10000 ms. Exit status: 0 done, 1 window not found in time, 2 bad usage.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ProbeWindows.h"

namespace {

constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultWaitMs = 10000;
constexpr auto kPollInterval = std::chrono::milliseconds(25);

int Usage() {
    std::fputs(
        "usage: win-probe wait|wait-active|gone CAPTION [MS]\n"
        "       win-probe controls CAPTION\n"
        "       win-probe set-text CAPTION ID TEXT\n",
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

int Wait(const std::string& caption, int waitMs, bool mustBeActive) {
    HWND window = nullptr;
    const bool found = WaitFor(waitMs, [&] {
        window = FindWindowByCaption(caption);
        return window != nullptr && (!mustBeActive || GetForegroundWindow() == window);
    });
    if (!found) {
        std::fprintf(stderr, "win-probe: no %swindow \"%s\" after %d ms\n",
                     mustBeActive ? "active " : "", caption.c_str(), waitMs);
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

int PrintControls(const std::string& caption) {
    const HWND window = FindWindowByCaption(caption);
    if (window == nullptr) {
        std::fprintf(stderr, "win-probe: no window \"%s\"\n", caption.c_str());
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

int SetText(const std::string& caption, int id, const std::string& text) {
    const HWND window = FindWindowByCaption(caption);
    const HWND control = window != nullptr ? GetDlgItem(window, id) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "win-probe: no control %d in \"%s\"\n", id, caption.c_str());
        return kExitNotFound;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &result);
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
    if (command == "set-text" && args.size() == 4) {
        return SetText(caption, std::atoi(args[2].c_str()), args[3]);
    }
    return Usage();
}
