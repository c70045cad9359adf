// UTF-8 (the program's text) to and from UTF-16 (the Windows API's text), for every call that
// takes a path or a name the user or the file system chose.
#pragma once

#include <string>
#include <string_view>

// Bytes that are not valid UTF-8 become U+FFFD, so a damaged name opens nothing rather than
// something else.
[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromWide(std::wstring_view wide);
