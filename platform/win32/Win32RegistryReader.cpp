#include "platform/win32/Win32RegistryReader.h"

#include <windows.h>

#include <vector>

#include "platform/win32/ScopedWin.h"

std::optional<std::string> CWin32RegistryReader::ReadString(eRegistryHive hive,
                                                            std::string_view key,
                                                            std::string_view name) {
    const HKEY root = hive == eRegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    CScopedRegKey opened;
    if (RegOpenKeyExA(root, std::string(key).c_str(), 0, KEY_READ, opened.Receive()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(opened.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) {
        return std::string();
    }
    // One byte more than asked for, so text stored without its terminating NUL still ends.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(opened.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS) {
        return std::string();
    }
    // The stored bytes as they are; the caller applies the buffer size and the first NUL.
    return std::string(buffer.data(), read);
}
