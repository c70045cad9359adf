#include "tools/lanternquill/CommandLine.h"

#include <charconv>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "LanternquillVersion.h"
#include "history/GameTypes.h"
#include "history/StatsCache.h"
#include "overlay/Settings.h"
#include "tools/lanternquill/BucketNames.h"

namespace {

// The narrowest table still shows every column and ten columns of each name.
constexpr int kMinTableWidth = 60;
constexpr int kMaxTableWidth = 1000;

struct sOption {
    std::string name;  // with its leading dashes
    std::optional<std::string> value;
};

struct sSplitArguments {
    std::vector<sOption> options;
    std::vector<std::string> operands;
};

bool IsHelpOption(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// Separates options from operands. `valueOptions` lists the options that take a value.
sSplitArguments SplitArguments(const std::vector<std::string>& args, size_t first,
                               std::initializer_list<std::string_view> valueOptions) {
    sSplitArguments split;
    bool optionsEnded = false;
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            split.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        sOption option;
        const size_t equals = arg.find('=');
        option.name = arg.substr(0, equals);
        if (equals != std::string::npos) {
            option.value = arg.substr(equals + 1);
        }
        bool takesValue = false;
        for (const std::string_view known : valueOptions) {
            takesValue = takesValue || known == option.name;
        }
        if (takesValue && !option.value) {
            if (i + 1 >= args.size()) {
                throw CUsageError(option.name + " needs a value");
            }
            option.value = args[++i];
        } else if (!takesValue && option.value) {
            throw CUsageError(option.name + " takes no value");
        }
        split.options.push_back(std::move(option));
    }
    return split;
}

[[noreturn]] void ThrowUnknownOption(const std::string& command, const std::string& option) {
    throw CUsageError("unknown option " + option + " for '" + command + "'");
}

int64_t ParseWholeNumber(const sOption& option, int64_t low, int64_t high) {
    const std::string& text = *option.value;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        throw CUsageError(option.name + " expects a whole number from " + std::to_string(low) +
                          " to " + std::to_string(high) + ", not '" + text + "'");
    }
    return value;
}

template <typename Parse>
auto ParseName(const sOption& option, Parse parse, std::string_view choices) {
    if (const auto value = parse(*option.value)) {
        return *value;
    }
    throw CUsageError(option.name + " expects one of " + std::string(choices) + ", not '" +
                      *option.value + "'");
}

std::string StakeChoices() {
    std::string choices;
    for (const std::string_view label : kStakeLabels) {
        choices += choices.empty() ? "" : ", ";
        choices += label;
    }
    return choices;
}

eOutputFormat ParseFormat(const sOption& option) {
    const std::string& text = *option.value;
    if (text == "table") {
        return eOutputFormat::Table;
    }
    if (text == "csv") {
        return eOutputFormat::Csv;
    }
    if (text == "json") {
        return eOutputFormat::Json;
    }
    throw CUsageError(option.name + " expects table, csv or json, not '" + text + "'");
}

sImportOptions ParseImport(const std::vector<std::string>& args) {
    sImportOptions import;
    import.cacheFile = kCacheFileName;
    import.weeks = sSettings{}.OldestStatsInWeeks;
    const sSplitArguments split = SplitArguments(args, 1, {"--cache", "--weeks"});
    for (const sOption& option : split.options) {
        if (option.name == "--cache") {
            import.cacheFile = *option.value;
        } else if (option.name == "--weeks") {
            import.weeks = static_cast<int>(ParseWholeNumber(option, kMinWeeks, kMaxWeeks));
        } else {
            ThrowUnknownOption("import", option.name);
        }
    }
    if (split.operands.empty()) {
        throw CUsageError("'import' needs at least one hand history folder");
    }
    import.folders = split.operands;
    return import;
}

sStatsOptions ParseStats(const std::vector<std::string>& args) {
    sStatsOptions stats;
    stats.cacheFile = kCacheFileName;
    stats.splitStakes = sSettings{}.SplitStats_Stakes;
    const sSplitArguments split = SplitArguments(args, 1,
                                                 {"--cache", "--player", "--game", "--stake",
                                                  "--size", "--min-hands", "--format", "--width"});
    for (const sOption& option : split.options) {
        if (option.name == "--cache") {
            stats.cacheFile = *option.value;
        } else if (option.name == "--player") {
            stats.player = *option.value;
        } else if (option.name == "--game") {
            stats.game = ParseName(option, ParseGameName, "holdem, omaha");
        } else if (option.name == "--stake") {
            stats.stake = ParseName(option, ParseStakeLabel, StakeChoices());
        } else if (option.name == "--size") {
            stats.sizeClass = ParseName(option, ParseSizeClassName, "hu, 3-6, 7-10");
        } else if (option.name == "--split-stakes") {
            stats.splitStakes = true;
        } else if (option.name == "--min-hands") {
            stats.minHands = ParseWholeNumber(option, 0, INT64_MAX);
        } else if (option.name == "--format") {
            stats.format = ParseFormat(option);
        } else if (option.name == "--streets") {
            stats.streets = true;
        } else if (option.name == "--width") {
            stats.width =
                static_cast<int>(ParseWholeNumber(option, kMinTableWidth, kMaxTableWidth));
        } else {
            ThrowUnknownOption("stats", option.name);
        }
    }
    if (!split.operands.empty()) {
        throw CUsageError("'stats' takes no operand ('" + split.operands.front() + "')");
    }
    return stats;
}

sDumpOptions ParseDump(const std::vector<std::string>& args) {
    const sSplitArguments split = SplitArguments(args, 1, {});
    if (!split.options.empty()) {
        ThrowUnknownOption("dump", split.options.front().name);
    }
    if (split.operands.size() != 1) {
        throw CUsageError("'dump' needs exactly one cache file");
    }
    return sDumpOptions{split.operands.front()};
}

}  // namespace

sCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    sCommandLine line;
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (IsHelpOption(arg)) {
            return line;  // help wins over everything else on the line
        }
    }
    if (args.empty() || args.front() == "help") {
        return line;
    }
    if (args.front() == "--version" || args.front() == "version") {
        if (args.size() > 1) {
            throw CUsageError("'" + args.front() + "' takes no argument");
        }
        line.command = eCommand::Version;
        return line;
    }
    const std::string& command = args.front();
    if (command == "import") {
        line.command = eCommand::Import;
        line.import = ParseImport(args);
    } else if (command == "stats") {
        line.command = eCommand::Stats;
        line.stats = ParseStats(args);
    } else if (command == "dump") {
        line.command = eCommand::Dump;
        line.dump = ParseDump(args);
    } else {
        throw CUsageError("unknown command '" + command + "'");
    }
    return line;
}

std::string UsageText() {
    std::string usage =
        "Usage:\n"
        "  lanternquill import [--cache FILE] [--weeks N] FOLDER...\n"
        "      Reads the hand history files (*.txt) written in the last N weeks (1..999,\n"
        "      default 52) in each FOLDER and its subfolders into the statistics cache.\n"
        "      Hands counted before are not counted again.\n"
        "  lanternquill stats [--cache FILE] [--player NAME] [--game holdem|omaha]\n"
        "                     [--stake LABEL] [--size hu|3-6|7-10] [--split-stakes]\n"
        "                     [--min-hands N] [--format table|csv|json]\n"
        "                     [--streets] [--width N]\n"
        "      Prints one row per player, most hands first. Without --game, --stake or\n"
        "      --size the counters of every game, stake level or table size are summed.\n"
        "      A no-limit --stake reads all no-limit levels together unless\n"
        "      --split-stakes is given. --min-hands defaults to 1 (0 with --player).\n"
        "      The table fits N terminal columns (60..1000, default 100) and shows the\n"
        "      flop, turn and river figures in a second table with --streets; CSV and\n"
        "      JSON always hold every figure.\n"
        "  lanternquill dump FILE\n"
        "      Lists every non-zero counter of a cache file (the file is never changed).\n"
        "  lanternquill --version\n"
        "  lanternquill --help\n"
        "\n"
        "The cache FILE defaults to ";
    usage += kCacheFileName;
    usage += " in the current folder.\nStake labels: " + StakeChoices() + "\n";
    return usage;
}

std::string VersionText() {
    return "lanternquill " + std::string(kVersionText) + "\n";
}
