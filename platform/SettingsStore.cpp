#include "platform/SettingsStore.h"

namespace {

std::string ValueKey(std::string_view section, std::string_view name) {
    std::string key;
    key.reserve(section.size() + 1 + name.size());
    key.append(section).append(1, '\\').append(name);
    return key;
}

}  // namespace

int32_t CMemorySettingsStore::ReadInt(std::string_view section, std::string_view name,
                                      int32_t defaultValue) {
    const auto found = m_values.find(ValueKey(section, name));
    return found == m_values.end() ? defaultValue : found->second;
}

void CMemorySettingsStore::WriteInt(std::string_view section, std::string_view name,
                                    int32_t value) {
    std::string key = ValueKey(section, name);
    m_strings.erase(key);
    m_values[key] = value;
    m_aWrites.emplace_back(std::move(key), value);
}

std::optional<std::string> CMemorySettingsStore::ReadString(std::string_view section,
                                                            std::string_view name) {
    const auto found = m_strings.find(ValueKey(section, name));
    if (found == m_strings.end()) {
        return std::nullopt;
    }
    return found->second.substr(0, found->second.find('\0'));
}

void CMemorySettingsStore::WriteString(std::string_view section, std::string_view name,
                                       const std::string& text) {
    std::string key = ValueKey(section, name);
    m_values.erase(key);
    m_strings[key] = text;
    m_aStringWrites.emplace_back(std::move(key), text);
}
