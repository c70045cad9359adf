// Where settings live between runs: 32-bit integers by section and value name. The Windows
// program keeps them in the per-user registry; tests use the in-memory store.
#pragma once

#include <cstdint>
#include <map>
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
};

// Settings kept in memory, with the order of writes, for tests and tools.
class CMemorySettingsStore final : public ISettingsStore {
public:
    int32_t ReadInt(std::string_view section, std::string_view name, int32_t defaultValue) override;
    void WriteInt(std::string_view section, std::string_view name, int32_t value) override;

    // Every write as (section, name, value), oldest first.
    std::vector<std::pair<std::string, int32_t>> m_aWrites;  // "Section\\Name" and value
    std::map<std::string, int32_t> m_values;                 // by "Section\\Name"
};
