#include "platform/win32/Win32RegistryReader.h"

#include <windows.h>

#include <vector>

#include "platform/win32/ScopedWin.h"
#include "platform/win32/Utf16.h"

std::optional<std::string> CWin32RegistryReader::ReadString(eRegistryHive hive, eRegistryView view,
                                                            std::string_view key,
                                                            std::string_view name) {
    const HKEY root = hive == eRegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    // Without a view flag a 64-bit program sees only the 64-bit view; 32-bit Windows ignores both.
    const REGSAM access =
        KEY_READ | (view == eRegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
    CScopedRegKey opened;
    if (RegOpenKeyExW(root, WideFromUtf8(key).c_str(), 0, access, opened.Receive()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Read in UTF-16 and handed on as UTF-8: an install folder of any name is found.
    const std::wstring valueName = WideFromUtf8(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) {
        return std::string();
    }
    // One character more than asked for, so text stored without its terminating NUL still ends.
    std::vector<wchar_t> buffer(static_cast<size_t>(size) / sizeof(wchar_t) + 2, L'\0');
    DWORD read = size;
    if (RegQueryValueExW(opened.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS) {
        return std::string();
    }
    // The stored characters as they are; the caller applies the buffer size and the first NUL.
    return Utf8FromWide(std::wstring_view(buffer.data(), read / sizeof(wchar_t)));
}
