// The modules of the process, kept as they are loaded and unloaded, so that a crash report can
// name the module of the crash address without asking the system's loader, whose lock the thread
// that crashed may hold. Fixed in size: nothing is allocated when a module is recorded or looked
// up.
//
// Threads: Add and MarkUnloaded are called one at a time (the caller serializes them); Find may run
// at the same time on another thread, and sees every module whose Add has returned.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Where a module is loaded: [base, base + size).
struct sModuleRange {
    uint64_t base = 0;
    uint64_t size = 0;
};

class CModuleTable {
public:
    static constexpr size_t kCapacity = 512;
    static constexpr size_t kNameBytes = 64 * 1024;

    // Records a module loaded at `range` from `path` (UTF-8). A module beyond kCapacity, or whose
    // path no longer fits the kNameBytes of paths, is not recorded.
    void Add(sModuleRange range, std::string_view path) noexcept;
    // The module at `base` was unloaded: its address range may be reused.
    void MarkUnloaded(uint64_t base) noexcept;

    struct sFound {
        std::string_view path;  // empty when no loaded module holds the address
        uint64_t base = 0;
    };
    // The loaded module holding `address`; where ranges overlap (a module recorded twice, or a
    // range reused without its unloading seen) the one recorded last.
    [[nodiscard]] sFound Find(uint64_t address) const noexcept;

private:
    struct sEntry {
        sModuleRange range;
        size_t nameStart = 0;
        size_t nameLength = 0;
        std::atomic<bool> loaded{false};
    };

    std::array<sEntry, kCapacity> m_entries{};
    std::array<char, kNameBytes> m_names{};
    size_t m_namesUsed = 0;
    std::atomic<size_t> m_count{0};
};
