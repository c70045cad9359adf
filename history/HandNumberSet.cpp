#include "history/HandNumberSet.h"

namespace {
// Fibonacci hashing spreads sequential hand numbers over the whole table.
inline size_t Mix(uint32_t hand) noexcept {
    return static_cast<size_t>((static_cast<uint64_t>(hand) * 0x9E3779B97F4A7C15ull) >> 32);
}
}  // namespace

size_t CHandNumberSet::SlotOf(uint32_t hand) const noexcept {
    const size_t mask = m_slots.size() - 1;
    size_t slot = Mix(hand) & mask;
    while (m_slots[slot] != kEmpty && m_slots[slot] != hand) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

bool CHandNumberSet::Contains(uint32_t hand) const noexcept {
    if (hand == kEmpty) {
        return m_hasZero;
    }
    if (m_slots.empty()) {
        return false;
    }
    return m_slots[SlotOf(hand)] == hand;
}

bool CHandNumberSet::Insert(uint32_t hand) {
    if (hand == kEmpty) {
        const bool added = !m_hasZero;
        m_hasZero = true;
        return added;
    }
    if ((m_size + 1) * 2 > m_slots.size()) {
        Grow((m_size + 1) * 2);
    }
    const size_t slot = SlotOf(hand);
    if (m_slots[slot] == hand) {
        return false;
    }
    m_slots[slot] = hand;
    ++m_size;
    return true;
}

void CHandNumberSet::Clear() noexcept {
    std::vector<uint32_t>().swap(m_slots);
    m_size = 0;
    m_hasZero = false;
}

void CHandNumberSet::Reserve(size_t count) {
    if (count * 2 > m_slots.size()) {
        Grow(count * 2);
    }
}

void CHandNumberSet::Grow(size_t minSlots) {
    size_t slots = 1024;
    while (slots < minSlots) {
        slots *= 2;
    }
    if (slots <= m_slots.size()) {
        return;
    }
    std::vector<uint32_t> old;
    old.swap(m_slots);
    m_slots.assign(slots, kEmpty);
    for (uint32_t hand : old) {
        if (hand != kEmpty) {
            m_slots[SlotOf(hand)] = hand;
        }
    }
}
