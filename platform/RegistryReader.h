// Reading string values of the registry (the PKR client's install folder).
// A Win32 IRegistryReader: RegOpenKeyExW(hive, key, 0, KEY_READ) failing -> std::nullopt;
// otherwise RegQueryValueExW for `name` (size query, then the read) -> the text as UTF-8, or ""
// when the value is missing or cannot be read; RegCloseKey.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class eRegistryHive { LocalMachine, CurrentUser };

class IRegistryReader {
public:
    virtual ~IRegistryReader() = default;
    // Nothing when `key` cannot be opened for reading under `hive`; otherwise the whole text of
    // the string value `name` (any length), or an empty text when that value cannot be read.
    virtual std::optional<std::string> ReadString(eRegistryHive hive, std::string_view key,
                                                  std::string_view name) = 0;
};
