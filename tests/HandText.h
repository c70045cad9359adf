// Builds small hand history texts for the parser tests, in the client's earlier format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hand_text {

// File header with the game and stake markers (never at position 0).
inline std::string Header(const std::string& game = "HOLD'EM",
                          const std::string& blinds = "$0.25/$0.50") {
    return "Table #1 - Test Table\r\nGame Type: " + game + "\r\nBlinds are now " + blinds + "\r\n";
}

// One hand: the seat lines "Seat N: name - $10" for the given (seat number, name) pairs, the
// button line, the action lines as given, and the end marker (unless `end` is empty).
inline std::string Hand(uint32_t number, const std::vector<std::pair<int, std::string>>& seats,
                        const std::vector<std::string>& actions,
                        const std::string& end = "End Of Hand #") {
    std::string text = "Starting Hand #" + std::to_string(number) + "\r\n";
    for (const auto& [seat, name] : seats) {
        text += "Seat " + std::to_string(seat) + ": " + name + " - $10\r\n";
    }
    text += "Moving Button to seat 1\r\n";
    for (const auto& line : actions) {
        text += line + "\r\n";
    }
    if (!end.empty()) {
        text += end + std::to_string(number) + "\r\n";
    }
    return text;
}

}  // namespace hand_text
