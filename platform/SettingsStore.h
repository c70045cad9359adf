// Where settings live between runs: 32-bit integers, and a few texts, by section and value name.
// The Windows program keeps them in the per-user registry; tests use the in-memory store.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored integer, or `defaultValue` when the section or value is missing or unreadable
    // (including a value of the wrong type or size).
    virtual int32_t ReadInt(std::string_view section, std::string_view name,
                            int32_t defaultValue) = 0;
    // Creates the section and value as needed; failures are ignored.
    virtual void WriteInt(std::string_view section, std::string_view name, int32_t value) = 0;
    // The stored text (UTF-8, up to its first NUL, of whatever length was stored), or nothing
    // when the section or value is missing or the value is not a text.
    virtual std::optional<std::string> ReadString(std::string_view section,
                                                  std::string_view name) = 0;
    // Creates the section and value as needed; failures are ignored.
    virtual void WriteString(std::string_view section, std::string_view name,
                             const std::string& text) = 0;
};

// Settings kept in memory, with the order of writes, for tests and tools.
class CMemorySettingsStore final : public ISettingsStore {
public:
    int32_t ReadInt(std::string_view section, std::string_view name, int32_t defaultValue) override;
    void WriteInt(std::string_view section, std::string_view name, int32_t value) override;
    std::optional<std::string> ReadString(std::string_view section, std::string_view name) override;
    void WriteString(std::string_view section, std::string_view name,
                     const std::string& text) override;

    // Every write as (section, name, value), oldest first.
    std::vector<std::pair<std::string, int32_t>> m_aWrites;  // "Section\\Name" and value
    std::map<std::string, int32_t> m_values;                 // by "Section\\Name"
    // The texts, and their writes, kept apart from the integers as the registry keeps a value
    // of one type only: writing a text under a name removes an integer of that name, and back.
    std::vector<std::pair<std::string, std::string>> m_aStringWrites;
    std::map<std::string, std::string> m_strings;
};
