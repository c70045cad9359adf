#include "hud/StatFormulas.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <initializer_list>
#include <utility>

namespace {

using CounterBlock = std::array<int32_t, CNT_MAX>;

CounterBlock Block(std::initializer_list<std::pair<int, int32_t>> values) {
    CounterBlock block{};
    for (const auto& [k, value] : values) {
        block[k] = value;
    }
    return block;
}

std::string Text(eStat stat, const CounterBlock& block, eStreet street = STREET_FLOP) {
    return StatText(ComputeStat(stat, block, street));
}

TEST(StatFormulas, VpipAndPfrAlwaysShowOneDecimal) {
    const CounterBlock block = Block({{CNT_HANDS, 3}, {CNT_VPIP, 2}, {CNT_PFR, 1}});
    EXPECT_EQ(Text(eStat::VPIP, block), "66.7");
    EXPECT_EQ(Text(eStat::PFR, block), "33.3");
    EXPECT_EQ(Text(eStat::VPIP, Block({{CNT_HANDS, 1}, {CNT_VPIP, 1}})), "100.0");
    EXPECT_EQ(Text(eStat::PFR, Block({{CNT_HANDS, 57}})), "0.0");
}

TEST(StatFormulas, ThreeBetShowsValueFromTenChances) {
    // 3 made, 6 not taken: nine chances.
    EXPECT_EQ(Text(eStat::ThreeBet, Block({{CNT_PF3BET, 3}, {CNT_PFNO3BET, 6}})), "3bet 3/9");
    EXPECT_EQ(Text(eStat::ThreeBet, Block({{CNT_PF3BET, 3}, {CNT_PFNO3BET, 7}})), "3bet 30.0");
    EXPECT_EQ(Text(eStat::FoldToThreeBet, Block({{CNT_PFFOLDTO3BET, 2}, {CNT_PFNOFOLDTO3BET, 7}})),
              "ft3bet 2/9");
    EXPECT_EQ(Text(eStat::FoldToThreeBet,
                   Block({{CNT_PFFOLDTO3BET, 1}, {CNT_PFNOFOLDTO3BET, 2}, {CNT_PF3BET, 40}})),
              "ft3bet 1/3");
    EXPECT_EQ(Text(eStat::FoldToThreeBet, Block({{CNT_PFFOLDTO3BET, 4}, {CNT_PFNOFOLDTO3BET, 8}})),
              "ft3bet 33.3");
}

TEST(StatFormulas, WentToShowdownThresholds) {
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 4}, {CNT_SAWFLOP, 9}})), "4/9");
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 4}, {CNT_SAWFLOP, 10}})), "40");
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 9}, {CNT_SAWFLOP, 9}})), "9/9");
    // Ten showdowns count even with fewer flops seen (all-in preflop hands).
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 10}, {CNT_SAWFLOP, 8}})), "125");
    // ... but not without any flop seen.
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 10}, {CNT_SAWFLOP, 0}})), "10/0");
}

TEST(StatFormulas, WonAtShowdownThresholds) {
    EXPECT_EQ(Text(eStat::WonSD, Block({{CNT_WONSHOWDOWN, 3}, {CNT_SHOWDOWN, 7}})), "3/7");
    EXPECT_EQ(Text(eStat::WonSD, Block({{CNT_WONSHOWDOWN, 3}, {CNT_SHOWDOWN, 10}})), "30");
    EXPECT_EQ(Text(eStat::WonSD, Block({{CNT_WONSHOWDOWN, 0}, {CNT_SHOWDOWN, 0}})), "0/0");
    // More wins than showdowns only comes from a damaged cache: no division by zero.
    EXPECT_EQ(Text(eStat::WonSD, Block({{CNT_WONSHOWDOWN, 12}, {CNT_SHOWDOWN, 0}})), "12/0");
}

TEST(StatFormulas, AggressionFactor) {
    const auto flop = [](int32_t bets, int32_t raises, int32_t folds, int32_t checks,
                         int32_t calls) {
        return Block({{CNT_FLOPBET, bets},
                      {CNT_FLOPRAISE, raises},
                      {CNT_FLOPFOLD, folds},
                      {CNT_FLOPCHECK, checks},
                      {CNT_FLOPCALL, calls}});
    };
    EXPECT_EQ(Text(eStat::Aggression, flop(8, 4, 0, 0, 0)), "AF 100");
    EXPECT_EQ(Text(eStat::Aggression, flop(8, 4, 1, 2, 2)), "AF 240");
    EXPECT_EQ(Text(eStat::Aggression, flop(3, 1, 1, 2, 2)), "AF 4/5");
    EXPECT_EQ(Text(eStat::Aggression, flop(0, 0, 0, 0, 0)), "AF 0/0");
    EXPECT_EQ(Text(eStat::Aggression, flop(1, 0, 4, 3, 3)), "AF 10");

    const sStatFigure noPassive = ComputeStat(eStat::Aggression, flop(2, 0, 0, 0, 0));
    EXPECT_TRUE(noPassive.hasValue);
    EXPECT_FLOAT_EQ(noPassive.value, 100.0f);
    EXPECT_FALSE(noPassive.asNumber);
}

TEST(StatFormulas, StreetItemsReadTheirOwnStreet) {
    const CounterBlock block = Block({{CNT_FLOPCBET, 6},
                                      {CNT_FLOPNOCBET, 4},
                                      {CNT_TURNCBET, 2},
                                      {CNT_TURNNOCBET, 1},
                                      {CNT_RIVERFOLDTOCBET, 5},
                                      {CNT_RIVERCALLCBET, 4},
                                      {CNT_RIVERRAISECBET, 1},
                                      {CNT_TURNBET, 12},
                                      {CNT_TURNCALL, 5}});
    EXPECT_EQ(Text(eStat::Cbet, block, STREET_FLOP), "60");
    EXPECT_EQ(Text(eStat::Cbet, block, STREET_TURN), "2/3");
    EXPECT_EQ(Text(eStat::Cbet, block, STREET_RIVER), "0/0");
    EXPECT_EQ(Text(eStat::FoldToCbet, block, STREET_RIVER), "50");
    EXPECT_EQ(Text(eStat::FoldToCbet, block, STREET_FLOP), "0/0");
    EXPECT_EQ(Text(eStat::Aggression, block, STREET_TURN), "AF 240");
    EXPECT_EQ(Text(eStat::Aggression, block, STREET_FLOP), "AF 0/0");
    // Street only matters for the street items.
    EXPECT_EQ(Text(eStat::Cbet, block, STREET_MAX), "0/0");
    EXPECT_EQ(Text(eStat::Cbet, block, static_cast<eStreet>(-1)), "0/0");
}

TEST(StatFormulas, RoundingFollowsTheExactValue) {
    // Ties round to even, as the C library's printf does on the exact binary value.
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 25}, {CNT_SAWFLOP, 40}})), "62");
    EXPECT_EQ(Text(eStat::WTSD, Block({{CNT_SHOWDOWN, 127}, {CNT_SAWFLOP, 200}})), "64");
    EXPECT_EQ(Text(eStat::ThreeBet, Block({{CNT_PF3BET, 1}, {CNT_PFNO3BET, 15}})), "3bet 6.2");
    EXPECT_EQ(Text(eStat::VPIP, Block({{CNT_HANDS, 8}, {CNT_VPIP, 1}})), "12.5");
    EXPECT_EQ(Text(eStat::VPIP, Block({{CNT_HANDS, 2000}, {CNT_VPIP, 1}})), "0.1");
    EXPECT_EQ(FormatFixed(0.5f, 0), "0");
    EXPECT_EQ(FormatFixed(1.5f, 0), "2");
    EXPECT_EQ(FormatFixed(99.96f, 1), "100.0");
}

TEST(StatFormulas, DamagedCountersStayFinite) {
    // Two large counters would overflow a 32-bit sum.
    const CounterBlock huge = Block({{CNT_PF3BET, INT32_MAX}, {CNT_PFNO3BET, INT32_MAX}});
    const sStatFigure threeBet = ComputeStat(eStat::ThreeBet, huge);
    EXPECT_EQ(threeBet.den, 2 * static_cast<int64_t>(INT32_MAX));
    EXPECT_EQ(StatText(threeBet), "3bet 50.0");

    // Negative counters can cancel out a denominator.
    EXPECT_EQ(Text(eStat::ThreeBet, Block({{CNT_PF3BET, 12}, {CNT_PFNO3BET, -12}})), "3bet 12/0");
    EXPECT_EQ(Text(eStat::VPIP, Block({{CNT_HANDS, 0}, {CNT_VPIP, 4}})), "4/0");
    EXPECT_EQ(Text(eStat::VPIP, Block({{CNT_HANDS, -5}, {CNT_VPIP, 0}})), "0.0");
}

TEST(StatFormulas, WideCountersGiveTheSameFigures) {
    std::array<int64_t, CNT_MAX> wide{};
    wide[CNT_RIVERBET] = 5;
    wide[CNT_RIVERRAISE] = 7;
    wide[CNT_RIVERCHECK] = 5;
    const sStatFigure figure = ComputeStat(eStat::Aggression, wide, STREET_RIVER);
    EXPECT_EQ(figure.num, 12);
    EXPECT_EQ(figure.den, 5);
    EXPECT_TRUE(figure.asNumber);
    EXPECT_EQ(StatText(figure), "AF 240");
}

}  // namespace
