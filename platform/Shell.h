// Handing a program or document to the shell.
#pragma once

#include <string>

// Starts a program or opens a document through the shell with the "open" verb, without a working
// directory (so the current one) and without waiting. The result is not reported: the callers
// ignore it. Win32: ShellExecuteA(owner, "open", file, parameters, nullptr,
//                                 hidden ? SW_HIDE : SW_SHOWNORMAL).
class IShellOpener {
public:
    virtual ~IShellOpener() = default;
    virtual void Open(const std::string& file, const std::string& parameters, bool hidden) = 0;
};
