#include "platform/win32/RegistrySettingsStore.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/ScopedWin.h"
#include "platform/win32/Utf16.h"

CRegistrySettingsStore::CRegistrySettingsStore(std::string_view company,
                                               std::string_view application)
    : m_strRootKey("Software\\" + std::string(company) + "\\" + std::string(application)) {}

std::string CRegistrySettingsStore::SectionKey(std::string_view section) const {
    return m_strRootKey + "\\" + std::string(section);
}

int32_t CRegistrySettingsStore::ReadInt(std::string_view section, std::string_view name,
                                        int32_t defaultValue) {
    CScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_QUERY_VALUE,
                      key.Receive()) != ERROR_SUCCESS) {
        return defaultValue;
    }
    DWORD type = REG_NONE;
    BYTE data[sizeof(DWORD)] = {};
    DWORD size = sizeof(data);
    // A longer value (REG_QWORD, a string) fails with ERROR_MORE_DATA; a shorter one is caught
    // by the size check.
    const LSTATUS status =
        RegQueryValueExA(key.Get(), std::string(name).c_str(), nullptr, &type, data, &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(DWORD)) {
        return defaultValue;
    }
    int32_t value = 0;
    std::memcpy(&value, data, sizeof(value));
    return value;
}

void CRegistrySettingsStore::WriteInt(std::string_view section, std::string_view name,
                                      int32_t value) {
    CScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD data = 0;
    std::memcpy(&data, &value, sizeof(data));
    // A failed write is ignored: the running program keeps the value in its settings record.
    RegSetValueExA(key.Get(), std::string(name).c_str(), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

std::optional<std::string> CRegistrySettingsStore::ReadString(std::string_view section,
                                                              std::string_view name) {
    CScopedRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(SectionKey(section)).c_str(), 0,
                      KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = WideFromUtf8(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    // Room for one more character, so text stored without its terminating NUL still ends; the
    // size the registry reports is bounded by the registry itself.
    std::vector<wchar_t> buffer(static_cast<size_t>(size) / sizeof(wchar_t) + 2, L'\0');
    DWORD read = size;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;  // changed between the two calls: read as missing
    }
    const std::wstring_view text(buffer.data(), read / sizeof(wchar_t));
    return Utf8FromWide(text.substr(0, text.find(L'\0')));
}

void CRegistrySettingsStore::WriteString(std::string_view section, std::string_view name,
                                         const std::string& text) {
    CScopedRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(SectionKey(section)).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring wide = WideFromUtf8(text);
    // With its terminating NUL, as REG_SZ data is expected to carry it. A failed write is
    // ignored: the running program keeps the value in its settings record.
    RegSetValueExW(key.Get(), WideFromUtf8(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}
