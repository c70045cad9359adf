#include "history/HistoryParser.h"

#include <algorithm>

#include "history/GameTypes.h"
#include "history/HandActions.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "history/TextSearch.h"

namespace {

constexpr size_t kClassifyBytes = 2500;  // game and stake markers are looked for only here
constexpr std::string_view kHandStart = "Starting Hand #";
constexpr size_t kHandStartAnchor = 14;  // the '#', rare inside a hand
constexpr std::string_view kActionStart = "Moving Button";

// True when the first occurrence of `marker` lies wholly inside the first 2500 bytes at a
// position greater than 0 (a marker at the very start of a file is not recognised).
bool HasClassifyMarker(std::string_view text, std::string_view marker) noexcept {
    const size_t pos = FindIn(text, marker, 0, kClassifyBytes);
    return pos != kNotFound && pos > 0;
}

}  // namespace

// The two arrays are filled side by side and kept by the callers in fields of the same names.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
void FindSeatMarkers(std::string_view text, size_t from, size_t to, SeatMarkerArray& markerPos,
                     SeatMarkerArray& markerLen) noexcept {
    constexpr std::string_view kSeat = "Seat ";
    for (size_t pos = FindIn(text, kSeat, from, to); pos != kNotFound;
         pos = FindIn(text, kSeat, pos + 1, to)) {
        const size_t digit = pos + kSeat.size();
        if (digit + 2 > to) {
            break;
        }
        int index = -1;
        size_t length = 0;
        const char d = text[digit];
        if (d >= '1' && d <= '9' && text[digit + 1] == ':') {
            index = d - '1';
            length = 7;
        } else if (d == '1' && digit + 3 <= to && text[digit + 1] == '0' &&
                   text[digit + 2] == ':') {
            index = 9;
            length = 8;
        }
        if (index >= 0 && markerPos[index] == kNotFound) {
            markerPos[index] = pos;
            markerLen[index] = length;
        }
    }
}

namespace {

size_t FindHandStart(std::string_view text, size_t from) noexcept {
    return FindIn(text, kHandStart, from, text.size(), kHandStartAnchor);
}

// First end-of-hand marker at or after `from`: the client wrote "End Of Hand #" and, from 2011
// on, "End of Hand #"; whichever comes first ends the hand. Both end in "Hand #", so each
// occurrence of that is looked at once and the words before it checked.
size_t FindHandEnd(std::string_view text, size_t from) noexcept {
    constexpr std::string_view kTail = "Hand #";
    constexpr size_t kHead = 7;  // "End Of " or "End of "
    for (size_t pos = FindIn(text, kTail, from + kHead, text.size(), 5); pos != kNotFound;
         pos = FindIn(text, kTail, pos + 1, text.size(), 5)) {
        const std::string_view head = text.substr(pos - kHead, kHead);
        if (head == "End Of " || head == "End of ") {
            return pos - kHead;
        }
    }
    return kNotFound;
}

// Street starts: the first "Dealing Flop", "Dealing Turn" and "Dealing River" from the action
// start lying wholly before the hand end; the hand end for a street that was not dealt.
void FindStreetStarts(std::string_view text, sStreetBounds& bounds) noexcept {
    bounds.flopStart = bounds.turnStart = bounds.riverStart = bounds.handEnd;
    bool flop = false, turn = false, river = false;
    constexpr std::string_view kDealing = "Dealing ";
    for (size_t pos = FindIn(text, kDealing, bounds.actionStart, bounds.handEnd);
         pos != kNotFound && !(flop && turn && river);
         pos = FindIn(text, kDealing, pos + 1, bounds.handEnd)) {
        const std::string_view rest = text.substr(pos, bounds.handEnd - pos);
        if (!flop && rest.starts_with("Dealing Flop")) {
            bounds.flopStart = pos;
            flop = true;
        } else if (!turn && rest.starts_with("Dealing Turn")) {
            bounds.turnStart = pos;
            turn = true;
        } else if (!river && rest.starts_with("Dealing River")) {
            bounds.riverStart = pos;
            river = true;
        }
    }
}

}  // namespace

eGameType DetectGameType(std::string_view text) noexcept {
    for (int game = 0; game < GAME_MAX; ++game) {
        if (HasClassifyMarker(text, kGameMarkers[game])) {
            return static_cast<eGameType>(game);
        }
    }
    return GAME_HOLDEM;
}

eStakeLevel DetectStakeLevel(std::string_view text) noexcept {
    for (int level = 0; level < STAKE_OTHER; ++level) {
        if (HasClassifyMarker(text, kStakeMarkers[level]) ||
            (IsNoLimitStake(level) &&
             HasClassifyMarker(text, kSpacedBlindMarkers[level - STAKE_FIRST_NL]))) {
            return static_cast<eStakeLevel>(level);
        }
    }
    return STAKE_OTHER;
}

uint32_t ReadHandNumber(std::string_view text, size_t pos) noexcept {
    auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    uint32_t number = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        number = number * 10u + static_cast<uint32_t>(text[pos] - '0');
        ++pos;
    }
    return number;
}

namespace {

// End of the name on the seat line at `markerPos`: the first " -" after the marker, or an earlier
// " (". `noDashFrom` remembers a position after which the text holds no " -" at all, so a file
// whose seat lines lack it is not searched to its end for every seat.
size_t SeatNameEnd(std::string_view text, size_t markerPos, size_t& noDashFrom) noexcept {
    if (markerPos >= noDashFrom) {
        return kNotFound;
    }
    size_t paren = kNotFound;
    for (size_t i = markerPos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (text[i - 1] != ' ') {
            continue;
        }
        if (c == '-') {
            return paren != kNotFound ? paren : i - 1;
        }
        if (c == '(' && paren == kNotFound) {
            paren = i - 1;
        }
    }
    noDashFrom = markerPos;
    return kNotFound;
}

std::string_view SeatNameWithMemo(std::string_view text, size_t markerPos, size_t markerLen,
                                  size_t& noDashFrom) noexcept {
    const size_t end = SeatNameEnd(text, markerPos, noDashFrom);
    const size_t start = markerPos + markerLen + 1;
    if (end == kNotFound || end <= start) {
        return {};
    }
    return text.substr(start, end - start);
}

}  // namespace

std::string_view SeatName(std::string_view text, size_t markerPos, size_t markerLen) noexcept {
    size_t noDashFrom = kNotFound;
    return SeatNameWithMemo(text, markerPos, markerLen, noDashFrom);
}

void ParseHistoryText(CStatsStore& store, std::string_view text) {
    const eGameType game = DetectGameType(text);
    const eStakeLevel stake = DetectStakeLevel(text);
    CHandActions actions(text);

    size_t p = 0;
    size_t noHandEndFrom = kNotFound;
    size_t noDashFrom = kNotFound;
    // Players of the previous hand by seat: at one table the same names mostly sit in the same
    // seats hand after hand, which saves looking them up again.
    sHandSeats previous;
    for (;;) {
        const size_t handMarker = FindHandStart(text, p);
        if (handMarker == kNotFound) {
            return;
        }
        p = handMarker + kHandStart.size();
        const uint32_t handNumber = ReadHandNumber(text, p);
        if (store.IsHandCounted(handNumber)) {
            continue;
        }

        const size_t actionStart = FindFrom(text, kActionStart, p);
        // Seat lines lie before the action part; without one (or with "Moving Button" at the very
        // end) they are looked for in the rest of the text.
        const bool boundedSeats =
            actionStart != kNotFound && actionStart > 0 && actionStart + 1 < text.size();
        sHandSeats seats;
        FindSeatMarkers(text, p, boundedSeats ? actionStart : text.size(), seats.markerPos,
                        seats.markerLen);
        if (seats.HighestIndex() <= 0) {
            return;  // no seat beyond "Seat 1:": the rest of this file is not read now
        }
        for (int s = 0; s <= seats.HighestIndex(); ++s) {
            if (seats.markerPos[s] == kNotFound || actionStart == kNotFound ||
                seats.markerPos[s] >= actionStart) {
                continue;
            }
            const std::string_view name =
                SeatNameWithMemo(text, seats.markerPos[s], seats.markerLen[s], noDashFrom);
            int32_t player = previous.player[s];
            if (player < 0 || previous.name[s] != name) {
                player = store.FindPlayer(name);
                if (player < 0) {
                    player = store.AddPlayer(name);
                }
            }
            seats.player[s] = player;
            seats.name[s] = name;
        }
        previous = seats;

        // Once no end marker is left after some position, none is left after any later one:
        // remembering that keeps a file without end markers from being searched to its end for
        // every hand.
        size_t handEnd = kNotFound;
        if (actionStart != kNotFound && actionStart < noHandEndFrom) {
            handEnd = FindHandEnd(text, actionStart);
            if (handEnd == kNotFound) {
                noHandEndFrom = actionStart;
            }
        }
        if (handEnd == kNotFound && FindHandStart(text, p) == kNotFound) {
            // The last hand of the file is still being written: leave its number unrecorded so
            // it is counted once the client has finished it.
            return;
        }
        if (handEnd != kNotFound) {
            sStreetBounds bounds;
            bounds.actionStart = actionStart;
            bounds.handEnd = handEnd;
            FindStreetStarts(text, bounds);
            actions.Analyse(seats, bounds);
            actions.AddToStore(store, {game, stake, seats.SizeClass()});
        }
        // Without an end marker no action is found and nobody is counted, but the number is
        // still recorded.
        store.AddCountedHand(handNumber);
        if (actionStart == kNotFound) {
            return;
        }
        p = actionStart;
    }
}

std::vector<size_t> ParseHistoryFiles(CStatsStore& store, const std::vector<std::string>& paths,
                                      IProgressSink* progress) {
    const int count = static_cast<int>(std::min<size_t>(paths.size(), 0x7FFFFFFF));
    if (progress != nullptr) {
        progress->SetRange(0, count);
        progress->SetPos(1);
    }
    std::string text;
    std::vector<size_t> unread;
    for (int i = 0; i < count; ++i) {
        if (ReadTextFile(paths[static_cast<size_t>(i)], text)) {
            ParseHistoryText(store, text);
        } else {
            unread.push_back(static_cast<size_t>(i));
        }
        if (progress != nullptr) {
            progress->SetPos(i);
        }
    }
    return unread;
}
