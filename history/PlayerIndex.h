// Hash index from player name to player number. The names themselves stay in the store's name
// array; the index holds only player numbers, so it adds four bytes per slot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CPlayerIndex {
public:
    // Index of the first player added under `name`, or -1.
    [[nodiscard]] int32_t Find(std::string_view name,
                               const std::vector<std::string>& names) const noexcept;
    // Registers player `player` under its name unless an earlier player has the same name
    // (so Find keeps returning the lowest index, as a front-to-back scan would).
    void Add(int32_t player, const std::vector<std::string>& names);
    void Clear() noexcept;
    void Reserve(size_t count, const std::vector<std::string>& names);

private:
    static constexpr int32_t kEmpty = -1;
    void Rehash(size_t slots, const std::vector<std::string>& names);

    std::vector<int32_t> m_slots;  // power-of-two size, at most half full
    size_t m_size = 0;
};
