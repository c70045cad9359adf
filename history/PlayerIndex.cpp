#include "history/PlayerIndex.h"

#include <algorithm>

namespace {
// FNV-1a: names are short, so a simple byte hash is as fast as anything fancier.
inline size_t HashName(std::string_view name) noexcept {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : name) {
        h = (h ^ c) * 1099511628211ull;
    }
    return static_cast<size_t>(h ^ (h >> 29));
}
}  // namespace

int32_t CPlayerIndex::Find(std::string_view name,
                           const std::vector<std::string>& names) const noexcept {
    if (m_slots.empty()) {
        return -1;
    }
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = HashName(name) & mask;; slot = (slot + 1) & mask) {
        const int32_t player = m_slots[slot];
        if (player == kEmpty) {
            return -1;
        }
        if (std::string_view(names[static_cast<size_t>(player)]) == name) {
            return player;
        }
    }
}

void CPlayerIndex::Add(int32_t player, const std::vector<std::string>& names) {
    if ((m_size + 1) * 2 > m_slots.size()) {
        Rehash(m_slots.empty() ? 1024 : m_slots.size() * 2, names);
    }
    const std::string_view name = names[static_cast<size_t>(player)];
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = HashName(name) & mask;; slot = (slot + 1) & mask) {
        const int32_t other = m_slots[slot];
        if (other == kEmpty) {
            m_slots[slot] = player;
            ++m_size;
            return;
        }
        if (std::string_view(names[static_cast<size_t>(other)]) == name) {
            return;  // an earlier player already answers to this name
        }
    }
}

void CPlayerIndex::Clear() noexcept {
    std::vector<int32_t>().swap(m_slots);
    m_size = 0;
}

void CPlayerIndex::Reserve(size_t count, const std::vector<std::string>& names) {
    size_t slots = m_slots.empty() ? 1024 : m_slots.size();
    while (slots < count * 2) {
        slots *= 2;
    }
    if (slots > m_slots.size()) {
        Rehash(slots, names);
    }
}

void CPlayerIndex::Rehash(size_t slots, const std::vector<std::string>& names) {
    std::vector<int32_t> old;
    old.swap(m_slots);
    m_slots.assign(slots, kEmpty);
    m_size = 0;
    // Re-adding in ascending player order keeps "first added wins" for duplicate names.
    std::vector<int32_t> players;
    players.reserve(old.size() / 2);
    for (int32_t p : old) {
        if (p != kEmpty) {
            players.push_back(p);
        }
    }
    std::sort(players.begin(), players.end());
    for (int32_t p : players) {
        Add(p, names);
    }
}
