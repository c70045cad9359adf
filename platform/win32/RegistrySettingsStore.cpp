#include "platform/win32/RegistrySettingsStore.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/ScopedWin.h"

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
