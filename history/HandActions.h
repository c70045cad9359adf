// What happened in one hand: who sits where, which action words belong to whom on each street,
// and the counter increments that follow from it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "history/GameTypes.h"
#include "history/TextSearch.h"

class CStatsStore;

constexpr int kMaxSeats = 10;

// Seat markers of a hand and the players found on them.
struct sHandSeats {
    std::array<size_t, kMaxSeats> markerPos{};  // position of "Seat N:", kNotFound when absent
    std::array<size_t, kMaxSeats> markerLen{};
    std::array<int32_t, kMaxSeats> player{};  // store index, -1 for none
    std::array<std::string_view, kMaxSeats> name{};

    sHandSeats() {
        markerPos.fill(kNotFound);
        player.fill(-1);
    }
    [[nodiscard]] int Count() const noexcept;
    // Index (0 for "Seat 1:") of the highest seat marker found, 0 when none was found.
    [[nodiscard]] int HighestIndex() const noexcept;
    [[nodiscard]] eSizeClass SizeClass() const noexcept { return SizeClassFromSeatCount(Count()); }
};

// Street boundaries of a hand with an end marker; flop, turn and river starts fall back to the
// hand end when the street was not dealt.
struct sStreetBounds {
    size_t actionStart = 0;
    size_t flopStart = 0;
    size_t turnStart = 0;
    size_t riverStart = 0;
    size_t handEnd = 0;
};

// Action words, each directly preceded by the acting player's name.
enum eActionWord : int {
    WORD_CHECKS,
    WORD_RAISES,
    WORD_FOLDS,
    WORD_CALLS,
    WORD_BETS,
    WORD_HAS,
    WORD_MUCKS,
    WORD_WINS,
    WORD_COUNT
};

class CHandActions {
public:
    explicit CHandActions(std::string_view text) : m_text(text) {}

    // Finds every action word of the hand and works out the per-seat flags.
    void Analyse(const sHandSeats& seats, const sStreetBounds& bounds);
    // Adds the hand to the counters of every seat that acted preflop.
    void AddToStore(CStatsStore& store, sBucketKey bucket) const;

private:
    // Flags of one seat for one street after the flop.
    struct sStreetFlags {
        bool acted, fold, check, call, bet, raise;
        bool cbet, noCbet, foldToCbet, callCbet, raiseCbet;
    };
    struct sSeatFlags {
        bool actedPreflop, vpip, raisedPreflop, madeThreeBet, foldedPreflop;
        bool foldedToThreeBet, threeBetChance, stayedAfterThreeBet;
        bool showdown, won;
        sStreetFlags street[STREET_MAX];
    };
    // Seats with a player, in seat order, with their names prepared for attribution.
    struct sNameKey {
        uint64_t tail = 0;  // last up to eight bytes of the name, right-aligned
        uint64_t mask = 0;  // which bytes of `tail` belong to the name
        int seat = 0;
        std::string_view name;
    };
    void PrepareNames();
    void CollectWords(size_t from, size_t to);
    void MatchWordsAt(size_t pos, size_t to);
    int SeatOfWordAt(size_t pos) const noexcept;
    // Runs `handler` for every attributed occurrence of `word` inside [from, to): after each
    // occurrence the next one is looked for `step` bytes further on.
    template <class Handler>
    void ForEachAction(eActionWord word, size_t from, size_t to, size_t step, Handler&& handler);
    void RunPreflop();
    void RunStreet(int street, size_t from, size_t to);
    void MarkStreetWord(eActionWord word, bool sStreetFlags::*flag, int street, size_t from,
                        size_t to);
    void ApplyCbet(int street);
    void RunShowdown();

    std::string_view m_text;
    const sHandSeats* m_seats = nullptr;
    sStreetBounds m_bounds;
    int m_highest = 0;
    std::array<sNameKey, kMaxSeats> m_nameKeys{};
    int m_nameSeats = 0;
    std::array<std::vector<size_t>, WORD_COUNT> m_words;  // positions, ascending
    std::array<sSeatFlags, kMaxSeats> m_flags{};
    int m_raiseCount = 0;
    size_t m_secondRaisePos = kNotFound;
    int m_aggressor = -1;
};
