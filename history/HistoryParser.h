// Hand history parser: turns PKR hand history text into per-player counters in the store.
//
// The parser is a text scanner: it finds fixed marker strings inside byte ranges of the text and
// attributes an action word to the seated player whose name stands directly before it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/GameTypes.h"
#include "history/Progress.h"

class CStatsStore;

// Game type and stake level of a whole file, from the markers in its first 2500 bytes. A marker at
// position 0 is not recognised. The later client's spaced blinds count as their no-limit level.
eGameType DetectGameType(std::string_view text) noexcept;
eStakeLevel DetectStakeLevel(std::string_view text) noexcept;

// Where each seat's marker "Seat 1:" .. "Seat 10:" stands, by seat index (0 for "Seat 1:").
using SeatMarkerArray = std::array<size_t, 10>;
// The first marker of every seat between `from` and `to`, found in one pass: its position in
// `markerPos` and its length (7, or 8 for "Seat 10:") in `markerLen`. "Seat 1:" does not match
// the start of "Seat 10:". Seats not found keep what `markerPos` held (callers fill it with
// kNotFound first).
void FindSeatMarkers(std::string_view text, size_t from, size_t to, SeatMarkerArray& markerPos,
                     SeatMarkerArray& markerLen) noexcept;

// Reads the hand number that starts at `pos`: blanks skipped, decimal digits up to the first
// non-digit, 0 when there are none. Numbers are unsigned 32-bit (real ones exceed 2^31); longer
// digit runs wrap modulo 2^32.
uint32_t ReadHandNumber(std::string_view text, size_t pos) noexcept;

// The player name of a seat line whose "Seat N:" marker (of length `markerLen`) stands at
// `markerPos`: from one byte after the marker up to the first " -" after it, or up to an earlier
// " (" when one comes first. Empty when there is no " -" at all.
std::string_view SeatName(std::string_view text, size_t markerPos, size_t markerLen) noexcept;

// Parses every hand in one file's text and adds the hands not counted before to the store.
void ParseHistoryText(CStatsStore& store, std::string_view text);

// Reads and parses each file in order; files that cannot be read are skipped and their indexes
// returned, in order. The progress sink (optional) gets the range 0..N, position 1 at the start
// and position i after file i.
std::vector<size_t> ParseHistoryFiles(CStatsStore& store, const std::vector<std::string>& paths,
                                      IProgressSink* progress);
