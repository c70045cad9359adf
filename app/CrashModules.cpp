#include "app/CrashModules.h"

void CModuleTable::Add(sModuleRange range, std::string_view path) noexcept {
    const size_t index = m_count.load(std::memory_order_relaxed);
    if (index == kCapacity || path.empty() || path.size() > kNameBytes - m_namesUsed) {
        return;
    }
    path.copy(m_names.data() + m_namesUsed, path.size());
    sEntry& entry = m_entries[index];
    entry.range = range;
    entry.nameStart = m_namesUsed;
    entry.nameLength = path.size();
    entry.loaded.store(true, std::memory_order_relaxed);
    m_namesUsed += path.size();
    // Publishes the entry and its name to Find.
    m_count.store(index + 1, std::memory_order_release);
}

void CModuleTable::MarkUnloaded(uint64_t base) noexcept {
    for (size_t i = m_count.load(std::memory_order_relaxed); i-- > 0;) {
        sEntry& entry = m_entries[i];
        if (entry.range.base == base && entry.loaded.load(std::memory_order_relaxed)) {
            entry.loaded.store(false, std::memory_order_relaxed);
            return;
        }
    }
}

CModuleTable::sFound CModuleTable::Find(uint64_t address) const noexcept {
    for (size_t i = m_count.load(std::memory_order_acquire); i-- > 0;) {
        const sEntry& entry = m_entries[i];
        if (entry.loaded.load(std::memory_order_relaxed) && address >= entry.range.base &&
            address - entry.range.base < entry.range.size) {
            return {{m_names.data() + entry.nameStart, entry.nameLength}, entry.range.base};
        }
    }
    return {};
}
