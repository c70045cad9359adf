// Reading string values of the registry (the PKR client's install folder).
// A Win32 IRegistryReader: RegOpenKeyExW(hive, key, 0, KEY_READ plus the view's flag) failing ->
// std::nullopt; otherwise RegQueryValueExW for `name` (size query, then the read) -> the text as
// UTF-8, or "" when the value is missing or cannot be read; RegCloseKey.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class eRegistryHive { LocalMachine, CurrentUser };

// Which of the machine key's two views a 64-bit Windows shows: the one its 32-bit programs write
// (HKLM\SOFTWARE\WOW6432Node) or the one of its 64-bit programs. The user key's "Software" is
// one key in both, so the view changes nothing there; on a 32-bit Windows there is one view.
enum class eRegistryView { Bits32, Bits64 };

class IRegistryReader {
public:
    virtual ~IRegistryReader() = default;
    // Nothing when `key` cannot be opened for reading under `hive` in `view`; otherwise the whole
    // text of the string value `name` (any length), or an empty text when that value cannot be
    // read.
    virtual std::optional<std::string> ReadString(eRegistryHive hive, eRegistryView view,
                                                  std::string_view key, std::string_view name) = 0;
};
