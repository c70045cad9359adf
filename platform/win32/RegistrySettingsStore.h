// The settings store of the Windows program: 32-bit values (REG_DWORD) and texts (REG_SZ, in
// UTF-16) in the current user's registry under
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

class CRegistrySettingsStore final : public ISettingsStore {
public:
    CRegistrySettingsStore(std::string_view company, std::string_view application);

    // A value that is not a REG_DWORD of exactly four bytes reads as `defaultValue`.
    int32_t ReadInt(std::string_view section, std::string_view name, int32_t defaultValue) override;
    void WriteInt(std::string_view section, std::string_view name, int32_t value) override;
    // A REG_SZ or REG_EXPAND_SZ value (the latter's variables left as they are); any other type
    // reads as nothing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view name) override;
    void WriteString(std::string_view section, std::string_view name,
                     const std::string& text) override;

private:
    [[nodiscard]] std::string SectionKey(std::string_view section) const;

    std::string m_strRootKey;  // "Software\<company>\<application>"
};
