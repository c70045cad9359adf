// Text at the boundary with the operating system. Inside the program every path and every
// argument is UTF-8 on every system; the Windows build converts to and from UTF-16 only where it
// calls the system, so names outside the ANSI code page (Cyrillic, CJK) work like any other.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 text in the system's 8-bit code page (the ANSI code page on Windows), for stored
// formats that hold 8-bit text. Nothing when a character has no exact form there (no
// look-alike is substituted) or the text is not valid UTF-8. Elsewhere the bytes are unchanged.
[[nodiscard]] std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8);

// 8-bit text of the system's code page as UTF-8 (bytes unchanged outside Windows).
[[nodiscard]] std::string SystemCodePageToUtf8(std::string_view text);

// The program's arguments after its own name, as UTF-8. Windows hands `main` its arguments in
// the ANSI code page, losing every other character, so there they are read again from the
// UTF-16 command line; elsewhere they are `argv` as given.
[[nodiscard]] std::vector<std::string> CommandLineArguments(int argc, char** argv);
