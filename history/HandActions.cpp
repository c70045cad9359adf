#include "history/HandActions.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "history/ByteSearch.h"
#include "history/StatsStore.h"

namespace {

constexpr std::array<std::string_view, WORD_COUNT> kWords = {
    " checks", " raises ", " folds", " calls ", " bets ", " has ", " mucks", " wins "};

// Preflop passes look for the next occurrence this many bytes after the previous one; the
// post-flop and showdown passes always advance 6 bytes.
constexpr size_t kStepChecks = 7;
constexpr size_t kStepRaises = 8;
constexpr size_t kStepFolds = 7;
constexpr size_t kStepCalls = 7;
constexpr size_t kStepStreet = 6;

// Counters are plain 32-bit numbers that a loaded cache may have at any value; wrap rather
// than overflow.
inline void Bump(int32_t& counter) noexcept {
    counter = static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
}

}  // namespace

int sHandSeats::Count() const noexcept {
    int count = 0;
    for (size_t pos : markerPos) {
        count += pos != kNotFound ? 1 : 0;
    }
    return count;
}

int sHandSeats::HighestIndex() const noexcept {
    for (int s = kMaxSeats - 1; s >= 0; --s) {
        if (markerPos[s] != kNotFound) {
            return s;
        }
    }
    return 0;
}

void CHandActions::CollectWords(size_t from, size_t to) {
    for (auto& positions : m_words) {
        positions.clear();
    }
    const char* text = m_text.data();
    size_t pos = from;
#if defined(__SSE2__)
    // Sixteen positions at a time: a candidate is a blank followed by one of the letters that
    // start an action word; only candidates are looked at byte by byte.
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i c = _mm_set1_epi8('c');
    const __m128i r = _mm_set1_epi8('r');
    const __m128i f = _mm_set1_epi8('f');
    const __m128i b = _mm_set1_epi8('b');
    const __m128i h = _mm_set1_epi8('h');
    const __m128i m = _mm_set1_epi8('m');
    const __m128i w = _mm_set1_epi8('w');
    while (pos + 17 <= to) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        auto blanks = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, blank)));
        if (blanks != 0) {
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + 1));
            const __m128i letters = _mm_or_si128(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(next, c), _mm_cmpeq_epi8(next, r)),
                             _mm_or_si128(_mm_cmpeq_epi8(next, f), _mm_cmpeq_epi8(next, b))),
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(next, h), _mm_cmpeq_epi8(next, m)),
                             _mm_cmpeq_epi8(next, w)));
            blanks &= static_cast<unsigned>(_mm_movemask_epi8(letters));
            while (blanks != 0) {
                MatchWordsAt(pos + static_cast<size_t>(std::countr_zero(blanks)), to);
                blanks &= blanks - 1;
            }
        }
        pos += 16;
    }
#endif
    for (; pos + 5 <= to; ++pos) {
        if (text[pos] == ' ') {
            MatchWordsAt(pos, to);
        }
    }
}

void CHandActions::MatchWordsAt(size_t pos, size_t to) {
    const char* at = m_text.data() + pos;
    const size_t room = to - pos;  // the word must end inside the scanned range
    // Fixed-length comparisons compile to a load and a compare each.
    auto is = [&](const auto& word) {
        constexpr size_t n = sizeof(word) - 1;
        return room >= n && bytesearch::BytesEqual(at, word, n);
    };
    auto add = [&](eActionWord word) { m_words[word].push_back(pos); };
    switch (at[1]) {
        case 'c':
            if (is(" checks")) {
                add(WORD_CHECKS);
            } else if (is(" calls ")) {
                add(WORD_CALLS);
            }
            break;
        case 'r':
            if (is(" raises ")) {
                add(WORD_RAISES);
            }
            break;
        case 'f':
            if (is(" folds")) {
                add(WORD_FOLDS);
            }
            break;
        case 'b':
            if (is(" bets ")) {
                add(WORD_BETS);
            }
            break;
        case 'h':
            if (is(" has ")) {
                add(WORD_HAS);
            }
            break;
        case 'm':
            if (is(" mucks")) {
                add(WORD_MUCKS);
            }
            break;
        case 'w':
            if (is(" wins ")) {
                add(WORD_WINS);
            }
            break;
        default:
            break;
    }
}

void CHandActions::PrepareNames() {
    m_nameSeats = 0;
    for (int s = 0; s <= m_highest; ++s) {
        if (m_seats->player[s] < 0) {
            continue;
        }
        // The last (up to) eight bytes of the name, placed as they stand just before a word, so
        // one 8-byte load and compare settles most attributions.
        const std::string_view name = m_seats->name[s];
        const size_t tail = std::min<size_t>(name.size(), 8);
        unsigned char bytes[8] = {};
        unsigned char mask[8] = {};
        if (tail > 0) {  // an empty name has no bytes (and may have no data pointer)
            std::memcpy(bytes + 8 - tail, name.data() + name.size() - tail, tail);
            std::memset(mask + 8 - tail, 0xFF, tail);
        }
        sNameKey& key = m_nameKeys[m_nameSeats++];
        std::memcpy(&key.tail, bytes, 8);
        std::memcpy(&key.mask, mask, 8);
        key.seat = s;
        key.name = name;
    }
}

int CHandActions::SeatOfWordAt(size_t pos) const noexcept {
    // The lowest seat whose player's name stands directly before the word wins.
    uint64_t before = 0;
    const bool loadable = pos >= 8;
    if (loadable) {
        std::memcpy(&before, m_text.data() + pos - 8, 8);
    }
    for (int i = 0; i < m_nameSeats; ++i) {
        const sNameKey& key = m_nameKeys[i];
        const size_t length = key.name.size();
        if (length > pos) {
            continue;
        }
        if (loadable) {
            if ((before & key.mask) != key.tail) {
                continue;
            }
            if (length <= 8) {
                return key.seat;
            }
        }
        if (length == 0 ||
            bytesearch::BytesEqual(m_text.data() + pos - length, key.name.data(), length)) {
            return key.seat;
        }
    }
    return -1;
}

template <class Handler>
void CHandActions::ForEachAction(eActionWord word, size_t from, size_t to, size_t step,
                                 Handler&& handler) {
    const size_t length = kWords[word].size();
    size_t next = from;
    for (size_t pos : m_words[word]) {
        if (pos < next) {
            continue;
        }
        if (pos + length > to) {
            break;
        }
        const int seat = SeatOfWordAt(pos);
        if (seat >= 0) {
            handler(seat, pos);
        }
        next = pos + step;
    }
}

void CHandActions::Analyse(const sHandSeats& seats, const sStreetBounds& bounds) {
    m_seats = &seats;
    m_bounds = bounds;
    m_highest = seats.HighestIndex();
    PrepareNames();
    m_flags = {};
    m_raiseCount = 0;
    m_secondRaisePos = kNotFound;
    m_aggressor = -1;

    CollectWords(bounds.actionStart, bounds.handEnd);
    RunPreflop();
    if (bounds.flopStart < bounds.handEnd) {
        RunStreet(STREET_FLOP, bounds.flopStart, bounds.turnStart);
    }
    if (bounds.turnStart < bounds.handEnd) {
        RunStreet(STREET_TURN, bounds.turnStart, bounds.riverStart);
    }
    if (bounds.riverStart < bounds.handEnd) {
        RunStreet(STREET_RIVER, bounds.riverStart, bounds.handEnd);
    }
    RunShowdown();
}

void CHandActions::RunPreflop() {
    const size_t from = m_bounds.actionStart;
    const size_t to = m_bounds.flopStart;
    // Each word's pass covers the whole preflop region before the next begins: the fold pass
    // needs to know every raise of the hand.
    ForEachAction(WORD_CHECKS, from, to, kStepChecks,
                  [this](int seat, size_t) { m_flags[seat].actedPreflop = true; });
    ForEachAction(WORD_RAISES, from, to, kStepRaises, [this](int seat, size_t pos) {
        sSeatFlags& f = m_flags[seat];
        f.actedPreflop = f.vpip = f.raisedPreflop = true;
        if (++m_raiseCount == 2) {
            f.madeThreeBet = true;
            if (m_secondRaisePos == kNotFound) {
                m_secondRaisePos = pos;
            }
        }
        m_aggressor = seat;
    });
    ForEachAction(WORD_FOLDS, from, to, kStepFolds, [this](int seat, size_t pos) {
        sSeatFlags& f = m_flags[seat];
        f.actedPreflop = f.foldedPreflop = true;
        if (f.raisedPreflop && m_secondRaisePos != kNotFound && m_secondRaisePos > 0 &&
            pos > m_secondRaisePos && m_raiseCount > 1) {
            f.foldedToThreeBet = true;
        }
    });
    ForEachAction(WORD_CALLS, from, to, kStepCalls, [this](int seat, size_t) {
        m_flags[seat].actedPreflop = m_flags[seat].vpip = true;
    });

    for (int s = 0; s <= m_highest; ++s) {
        sSeatFlags& f = m_flags[s];
        if (m_raiseCount == 1 && !f.raisedPreflop) {
            f.threeBetChance = true;
        }
        if (m_raiseCount >= 2 && f.raisedPreflop && !f.madeThreeBet && !f.foldedPreflop) {
            f.stayedAfterThreeBet = true;
        }
    }
}

void CHandActions::MarkStreetWord(eActionWord word, bool sStreetFlags::*flag, int street,
                                  size_t from, size_t to) {
    ForEachAction(word, from, to, kStepStreet, [this, flag, street](int seat, size_t) {
        sStreetFlags& f = m_flags[seat].street[street];
        f.acted = true;
        f.*flag = true;
    });
}

void CHandActions::RunStreet(int street, size_t from, size_t to) {
    MarkStreetWord(WORD_FOLDS, &sStreetFlags::fold, street, from, to);
    MarkStreetWord(WORD_CHECKS, &sStreetFlags::check, street, from, to);
    MarkStreetWord(WORD_CALLS, &sStreetFlags::call, street, from, to);
    MarkStreetWord(WORD_BETS, &sStreetFlags::bet, street, from, to);
    MarkStreetWord(WORD_RAISES, &sStreetFlags::raise, street, from, to);
    ApplyCbet(street);
}

void CHandActions::ApplyCbet(int street) {
    const int a = m_aggressor;
    if (a < 0 || !m_flags[a].street[street].acted) {
        return;
    }
    // A turn c-bet continues a flop c-bet, a river c-bet a turn c-bet.
    if (street > STREET_FLOP && !m_flags[a].street[street - 1].cbet) {
        return;
    }
    sStreetFlags& aggressor = m_flags[a].street[street];
    if (!aggressor.bet && !aggressor.raise) {
        aggressor.noCbet = true;
        return;
    }
    aggressor.cbet = true;
    // The order of the actions on the street plays no part: whoever folded on it folded to the
    // c-bet, even when the fold answered a later raise.
    for (int s = 0; s <= m_highest; ++s) {
        sStreetFlags& f = m_flags[s].street[street];
        if (s == a || !f.acted) {
            continue;
        }
        if (f.fold) {
            f.foldToCbet = true;
        } else if (f.raise) {
            f.raiseCbet = true;
        } else if (f.call) {
            f.callCbet = true;
        }
    }
}

void CHandActions::RunShowdown() {
    const size_t from = m_bounds.riverStart;
    const size_t to = m_bounds.handEnd;
    auto reachedShowdown = [this](int seat, size_t) { m_flags[seat].showdown = true; };
    ForEachAction(WORD_HAS, from, to, kStepStreet, reachedShowdown);
    ForEachAction(WORD_MUCKS, from, to, kStepStreet, reachedShowdown);
    ForEachAction(WORD_WINS, from, to, kStepStreet,
                  [this](int seat, size_t) { m_flags[seat].won = true; });
}

void CHandActions::AddToStore(CStatsStore& store, sBucketKey bucket) const {
    for (int s = 0; s <= m_highest; ++s) {
        const int32_t player = m_seats->player[s];
        const sSeatFlags& f = m_flags[s];
        if (player < 0 || !f.actedPreflop) {
            continue;  // a seated player without a preflop action word gets nothing
        }
        int32_t* c = store.CounterBlock(player, bucket);
        auto add = [c](eCounter counter, bool flag) {
            if (flag) {
                Bump(c[counter]);
            }
        };
        add(CNT_HANDS, true);
        add(CNT_VPIP, f.vpip);
        add(CNT_PFR, f.raisedPreflop);
        add(CNT_PF3BET, f.madeThreeBet);
        add(CNT_PFNO3BET, f.threeBetChance);
        add(CNT_PFFOLDTO3BET, f.foldedToThreeBet);
        add(CNT_PFNOFOLDTO3BET, f.stayedAfterThreeBet);
        add(CNT_SAWFLOP, f.street[STREET_FLOP].acted || f.showdown);
        for (const eStreet street : kStreets) {
            const sStreetFlags& sf = f.street[street];
            // A check followed by another action on the same street counts as that action only;
            // a bet followed by a raise counts as the raise.
            const bool check = sf.check && !(sf.fold || sf.call || sf.raise || sf.bet);
            const bool bet = sf.bet && !sf.raise;
            add(StreetCounter(street, STREET_FOLD), sf.fold);
            add(StreetCounter(street, STREET_CHECK), check);
            add(StreetCounter(street, STREET_CALL), sf.call);
            add(StreetCounter(street, STREET_BET), bet);
            add(StreetCounter(street, STREET_RAISE), sf.raise);
            add(StreetCounter(street, STREET_CBET), sf.cbet);
            add(StreetCounter(street, STREET_NOCBET), sf.noCbet);
            add(StreetCounter(street, STREET_FOLDTOCBET), sf.foldToCbet);
            add(StreetCounter(street, STREET_CALLCBET), sf.callCbet);
            add(StreetCounter(street, STREET_RAISECBET), sf.raiseCbet);
        }
        add(CNT_SHOWDOWN, f.showdown);
        add(CNT_WONSHOWDOWN, f.won && f.showdown);
    }
}
