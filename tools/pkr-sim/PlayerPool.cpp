#include "PlayerPool.h"

#include <algorithm>
#include <unordered_set>

namespace pkrsim {

namespace {

constexpr const char* kSyllables[] = {
    "ba", "ko", "ri",  "zu",  "mel", "tor", "vin", "sha", "lo",  "dra", "quin", "fe",  "nix",
    "ul", "pa", "gor", "thi", "wen", "ya",  "bro", "cal", "dex", "mo",  "rak",  "sil", "ven",
    "jo", "ka", "lum", "nor", "pe",  "sto", "tu",  "vor", "zel", "gri", "ho",   "ish", "ma",
};
constexpr char kCapitals[] = "ABCDEFGHIJKLMNOPQRTVWXYZ";  // no S: no name can start "Seat"

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A name of a capital letter followed by lower-case letters and digits. No such name is a
// proper suffix of another (a proper suffix never starts with a capital), so the parser's
// "name directly before the action word" rule always finds the right player.
std::string MakeName(CRng& rng) {
    std::string name(1, kCapitals[rng.Below(sizeof(kCapitals) - 1)]);
    const int syllables = rng.Between(2, 3);
    for (int i = 0; i < syllables; ++i) {
        name += kSyllables[rng.Below(std::size(kSyllables))];
    }
    if (rng.Chance(0.5)) {
        name += std::to_string(rng.Between(1, 99));
    }
    return name;
}

double Jitter(CRng& rng, double value, double spread) {
    return std::clamp(value + rng.Real(-spread, spread), 0.01, 0.98);
}

sPlayerStyle MakeStyle(CRng& rng) {
    // Archetypes: tight-passive, tight-aggressive, loose-aggressive, loose-passive, maniac.
    static constexpr sPlayerStyle kArchetypes[] = {
        {0.14, 0.35, 0.02, 0.15, 0.20, 0.45, 0.65, 0.03, 0.80},
        {0.22, 0.75, 0.07, 0.35, 0.50, 0.75, 0.50, 0.08, 0.70},
        {0.38, 0.80, 0.12, 0.45, 0.65, 0.80, 0.40, 0.15, 0.50},
        {0.50, 0.20, 0.02, 0.10, 0.18, 0.35, 0.25, 0.02, 0.30},
        {0.65, 0.85, 0.20, 0.60, 0.80, 0.90, 0.30, 0.25, 0.20},
    };
    sPlayerStyle style = kArchetypes[rng.Below(std::size(kArchetypes))];
    style.looseness = Jitter(rng, style.looseness, 0.05);
    style.raiseFirst = Jitter(rng, style.raiseFirst, 0.1);
    style.threeBet = Jitter(rng, style.threeBet, 0.02);
    style.fourBet = Jitter(rng, style.fourBet, 0.1);
    style.aggression = Jitter(rng, style.aggression, 0.1);
    style.contiBet = Jitter(rng, style.contiBet, 0.1);
    style.foldToBet = Jitter(rng, style.foldToBet, 0.1);
    style.checkRaise = Jitter(rng, style.checkRaise, 0.03);
    style.muckLosers = Jitter(rng, style.muckLosers, 0.15);
    return style;
}

}  // namespace

bool IsUsableScreenName(std::string_view name) noexcept {
    if (name.empty() || name.size() > 24 || name.find("Seat") != std::string_view::npos) {
        return false;
    }
    constexpr std::string_view kForbidden = "/\\:*?\"<>|";
    return std::all_of(name.begin(), name.end(), [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && kForbidden.find(c) == std::string_view::npos;
    });
}

CPlayerPool::CPlayerPool(std::string_view screenName, int opponents, CRng& rng) {
    m_names.emplace_back(screenName);
    m_styles.push_back({0.24, 0.7, 0.07, 0.3, 0.5, 0.7, 0.5, 0.08, 0.6});
    std::unordered_set<std::string> used{std::string(screenName)};
    while (static_cast<int>(m_names.size()) <= opponents) {
        // Some names extend another one ("Kavin" and "Kavin7"): a name that is a prefix of
        // another must not take the longer one's actions.
        std::string name;
        if (m_names.size() > 1 && rng.Chance(0.1)) {
            name = m_names[1 + rng.Below(static_cast<uint32_t>(m_names.size() - 1))];
            name += std::to_string(rng.Between(0, 9));
        }
        if (name.empty() || name.size() > 16) {
            name = MakeName(rng);
        }
        // The screen name is the user's choice; keep it and the pool free of suffix pairs too.
        if (used.count(name) != 0 || EndsWith(name, screenName) || EndsWith(screenName, name)) {
            continue;
        }
        used.insert(name);
        m_names.push_back(std::move(name));
        m_styles.push_back(MakeStyle(rng));
    }
}

}  // namespace pkrsim
