// Open-addressing hash set of hand numbers, so "was this hand counted?" is O(1) rather than a
// scan of every hand counted so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CHandNumberSet {
public:
    [[nodiscard]] bool Contains(uint32_t hand) const noexcept;
    // Returns false when the number was already present.
    bool Insert(uint32_t hand);
    void Clear() noexcept;
    void Reserve(size_t count);
    [[nodiscard]] size_t Size() const noexcept { return m_size + (m_hasZero ? 1 : 0); }

private:
    static constexpr uint32_t kEmpty = 0;  // hand number 0 is tracked by m_hasZero instead
    void Grow(size_t minSlots);
    [[nodiscard]] size_t SlotOf(uint32_t hand) const noexcept;

    std::vector<uint32_t> m_slots;  // power-of-two size, at most half full
    size_t m_size = 0;
    bool m_hasZero = false;
};
