#include "hud/StatFormulas.h"

#include <charconv>
#include <system_error>

namespace {

struct sTerms {
    int64_t num = 0;
    int64_t den = 0;
};

template <typename Counter>
sTerms TermsOf(eStat stat, std::span<const Counter, CNT_MAX> counters, eStreet street) noexcept {
    const auto at = [&](eCounter k) { return static_cast<int64_t>(counters[k]); };
    const auto onStreet = [&](eStreetCounter offset) { return at(StreetCounter(street, offset)); };
    switch (stat) {
        case eStat::VPIP:
            return {at(CNT_VPIP), at(CNT_HANDS)};
        case eStat::PFR:
            return {at(CNT_PFR), at(CNT_HANDS)};
        case eStat::WTSD:
            return {at(CNT_SHOWDOWN), at(CNT_SAWFLOP)};
        case eStat::WonSD:
            return {at(CNT_WONSHOWDOWN), at(CNT_SHOWDOWN)};
        case eStat::ThreeBet:
            return {at(CNT_PF3BET), at(CNT_PF3BET) + at(CNT_PFNO3BET)};
        case eStat::FoldToThreeBet:
            return {at(CNT_PFFOLDTO3BET), at(CNT_PFFOLDTO3BET) + at(CNT_PFNOFOLDTO3BET)};
        case eStat::Cbet:
            return {onStreet(STREET_CBET), onStreet(STREET_CBET) + onStreet(STREET_NOCBET)};
        case eStat::FoldToCbet:
            return {onStreet(STREET_FOLDTOCBET), onStreet(STREET_FOLDTOCBET) +
                                                     onStreet(STREET_CALLCBET) +
                                                     onStreet(STREET_RAISECBET)};
        case eStat::Aggression:
            return {onStreet(STREET_BET) + onStreet(STREET_RAISE),
                    onStreet(STREET_FOLD) + onStreet(STREET_CHECK) + onStreet(STREET_CALL)};
    }
    return {};
}

// The HUD's rule for showing the value rather than "num/den": the value is trusted only once
// there are enough observations behind it.
bool ShowsValue(eStat stat, int64_t num, int64_t den) noexcept {
    switch (stat) {
        case eStat::VPIP:
        case eStat::PFR:
            return true;
        case eStat::WTSD:
            return den > 9 || (num > 9 && den > 0);
        case eStat::WonSD:
        case eStat::Aggression:
            return den > 9 || num > 9;
        case eStat::ThreeBet:
        case eStat::FoldToThreeBet:
        case eStat::Cbet:
        case eStat::FoldToCbet:
            return den > 9;
    }
    return false;
}

sStatFigure FigureOf(eStat stat, sTerms terms) noexcept {
    sStatFigure figure;
    figure.stat = stat;
    figure.num = terms.num;
    figure.den = terms.den;
    if (terms.den != 0) {
        const double ratio =
            100.0 * static_cast<double>(terms.num) / static_cast<double>(terms.den);
        const auto value = static_cast<float>(ratio);
        figure.value = value == 0.0f ? 0.0f : value;  // no "-0" from a negative denominator
        figure.hasValue = true;
    } else if (stat == eStat::Aggression) {
        figure.value = 100.0f;
        figure.hasValue = true;
    }
    // Counters from a damaged cache file can make a denominator 0 where the rule would still
    // show a value; "num/den" is printed then rather than an infinity.
    figure.asNumber = figure.hasValue && ShowsValue(stat, terms.num, terms.den);
    return figure;
}

template <typename Counter>
sStatFigure Compute(eStat stat, std::span<const Counter, CNT_MAX> counters,
                    eStreet street) noexcept {
    if (IsStreetStat(stat) && (street < STREET_FLOP || street >= STREET_MAX)) {
        return FigureOf(stat, {});
    }
    return FigureOf(stat, TermsOf(stat, counters, street));
}

void AppendInteger(std::string& out, int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string_view TextPrefix(eStat stat) noexcept {
    switch (stat) {
        case eStat::ThreeBet:
            return "3bet ";
        case eStat::FoldToThreeBet:
            return "ft3bet ";
        case eStat::Aggression:
            return "AF ";
        default:
            return {};
    }
}

}  // namespace

sStatFigure ComputeStat(eStat stat, std::span<const int32_t, CNT_MAX> counters,
                        eStreet street) noexcept {
    return Compute(stat, counters, street);
}

sStatFigure ComputeStat(eStat stat, std::span<const int64_t, CNT_MAX> counters,
                        eStreet street) noexcept {
    return Compute(stat, counters, street);
}

std::string StatText(const sStatFigure& figure) {
    std::string text(TextPrefix(figure.stat));
    if (figure.asNumber) {
        text += FormatFixed(figure.value, StatDecimals(figure.stat));
    } else {
        AppendInteger(text, figure.num);
        text += '/';
        AppendInteger(text, figure.den);
    }
    return text;
}

int StatDecimals(eStat stat) noexcept {
    switch (stat) {
        case eStat::VPIP:
        case eStat::PFR:
        case eStat::ThreeBet:
        case eStat::FoldToThreeBet:
            return 1;
        default:
            return 0;
    }
}

std::string_view StatName(eStat stat) noexcept {
    switch (stat) {
        case eStat::VPIP:
            return "VPIP";
        case eStat::PFR:
            return "PFR";
        case eStat::WTSD:
            return "WTSD";
        case eStat::WonSD:
            return "W$SD";
        case eStat::ThreeBet:
            return "3bet";
        case eStat::FoldToThreeBet:
            return "fold to 3bet";
        case eStat::Cbet:
            return "cbet";
        case eStat::FoldToCbet:
            return "ftcbet";
        case eStat::Aggression:
            return "AgFr";
    }
    return {};
}

std::string FormatFixed(float value, int decimals) {
    // Large enough for any float in fixed notation (39 integer digits) with a few decimals.
    char buffer[64];
    decimals = decimals < 0 ? 0 : (decimals > 9 ? 9 : decimals);
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc{}) {
        return "?";
    }
    return {buffer, result.ptr};
}
