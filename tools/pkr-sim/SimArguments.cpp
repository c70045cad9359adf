#include "SimArguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

namespace pkrsim {

namespace {

template <typename T>
std::optional<T> ParseInteger(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<int> ParseGame(std::string_view text) {
    if (text == "holdem") {
        return GAME_HOLDEM;
    }
    if (text == "omaha") {
        return GAME_OMAHA;
    }
    if (text == "mixed") {
        return -1;
    }
    return std::nullopt;
}

std::optional<int> ParseStake(std::string_view text) {
    if (text == "mixed") {
        return -1;
    }
    for (int level = 0; level < STAKE_MAX; ++level) {
        if (EqualsNoCase(text, kStakeLabels[level])) {
            return level;
        }
    }
    return std::nullopt;
}

bool ParseSeats(std::string_view text, sSimOptions& options) {
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        const auto both = ParseInteger<int>(text);
        if (!both) {
            return false;
        }
        options.minSeats = options.maxSeats = *both;
        return true;
    }
    const auto low = ParseInteger<int>(text.substr(0, dash));
    const auto high = ParseInteger<int>(text.substr(dash + 1));
    if (!low || !high) {
        return false;
    }
    options.minSeats = *low;
    options.maxSeats = *high;
    return true;
}

// Applies one option with a value; false with `error` set when the value is not acceptable.
bool ApplyValue(std::string_view name, const std::string& value, sSimOptions& options,
                std::string& error) {
    auto bad = [&](std::string_view what) {
        error = "invalid value '" + value + "' for " + std::string(name) + ": expected " +
                std::string(what);
        return false;
    };
    if (name == "--out") {
        if (value.empty()) {
            return bad("a folder");
        }
        options.outDir = value;
    } else if (name == "--seed") {
        const auto seed = ParseInteger<uint64_t>(value);
        if (!seed) {
            return bad("a non-negative integer");
        }
        options.seed = *seed;
    } else if (name == "--tables" || name == "--players") {
        const auto number = ParseInteger<int>(value);
        if (!number) {
            return bad("an integer");
        }
        (name == "--tables" ? options.tables : options.players) = *number;
    } else if (name == "--hands") {
        const auto hands = ParseInteger<int64_t>(value);
        if (!hands) {
            return bad("an integer");
        }
        options.hands = *hands;
    } else if (name == "--pace") {
        const auto pace = ParseInteger<int>(value);
        if (!pace || *pace < 0) {
            return bad("milliseconds (0 or more)");
        }
        options.paceMs = *pace;
    } else if (name == "--live-seconds") {
        const auto seconds = ParseInteger<int64_t>(value);
        if (!seconds || *seconds < 0) {
            return bad("seconds (0 or more)");
        }
        options.liveSeconds = *seconds;
    } else if (name == "--screen-name") {
        options.screenName = value;
    } else if (name == "--date") {
        options.date = value;
    } else if (name == "--game") {
        const auto game = ParseGame(value);
        if (!game) {
            return bad("holdem, omaha or mixed");
        }
        options.game = *game;
    } else if (name == "--stake") {
        const auto stake = ParseStake(value);
        if (!stake) {
            return bad(
                "a stake label (Play Money, Tournament, LIMIT, 10NL ... 600NL, Other) or "
                "mixed");
        }
        options.stake = *stake;
    } else if (name == "--seats") {
        if (!ParseSeats(value, options)) {
            return bad("MIN-MAX, e.g. 2-10");
        }
    } else {
        error = "unknown option " + std::string(name);
        return false;
    }
    return true;
}

}  // namespace

eArgsResult ParseSimArguments(const std::vector<std::string>& args, sSimOptions& options,
                              std::string& error) {
    bool handsGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return eArgsResult::Help;
        }
        if (arg == "--later-format") {
            options.laterFormat = true;
            continue;
        }
        if (arg == "--live") {
            options.live = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            error = "unexpected argument '" + arg + "'";
            return eArgsResult::Error;
        }
        const size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "option " + name + " needs a value";
            return eArgsResult::Error;
        }
        if (!ApplyValue(name, value, options, error)) {
            return eArgsResult::Error;
        }
        handsGiven = handsGiven || name == "--hands";
    }
    // A live run without a number of hands goes on until its time is up or it is stopped.
    if (options.live && !handsGiven) {
        options.hands = kMaxHands;
    }
    if (options.outDir.empty()) {
        error = "--out DIR is required";
        return eArgsResult::Error;
    }
    error = CheckOptions(options);
    return error.empty() ? eArgsResult::Run : eArgsResult::Error;
}

std::string SimUsage() {
    return "Usage: pkr-sim --out DIR [options]\n"
           "Writes simulated PKR hand history files, one per table, to\n"
           "DIR/<screen name>/<YYYYMMDD>/<table name>.txt, and the counters every player must\n"
           "get from them to DIR/expected-counters.tsv.\n"
           "\n"
           "Options:\n"
           "  --out DIR            output folder (required)\n"
           "  --seed N             random seed (default 1); the same seed writes the same bytes\n"
           "  --tables N           number of tables (default 6)\n"
           "  --hands N            hands over all tables (default 3000)\n"
           "  --screen-name NAME   the player who sits at every table (default Hero)\n"
           "  --date YYYYMMDD      date of the hands and of the folder (default today, UTC)\n"
           "  --later-format       the later client's format (\"End of Hand #\", spaced blinds)\n"
           "  --players N          opponents in the player pool (default 200)\n"
           "  --game G             holdem, omaha or mixed (default mixed)\n"
           "  --stake LABEL        one stake level (Play Money, Tournament, LIMIT, 10NL..600NL,\n"
           "                       Other) or mixed (default mixed)\n"
           "  --seats MIN-MAX      seat lines per hand, 2..10 (default 2-10)\n"
           "  --live               write the hands one by one as they are dealt, each in\n"
           "                       two steps, the tables taking turns (until --hands hands,\n"
           "                       --live-seconds, or the program is stopped)\n"
           "  --pace MS            live mode: milliseconds between two hands (default 1000)\n"
           "  --live-seconds N     live mode: stop after N seconds (default 0: no limit)\n"
           "  --help               this text\n";
}

}  // namespace pkrsim
