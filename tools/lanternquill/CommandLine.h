// The tool's command line: which command to run and its options.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/GameTypes.h"

enum class eCommand { Help, Version, Import, Stats, Dump };
enum class eOutputFormat { Table, Csv, Json };

struct sImportOptions {
    std::string cacheFile;
    int weeks = 0;  // history older than this many weeks is not read
    std::vector<std::string> folders;
};

struct sStatsOptions {
    std::string cacheFile;
    std::optional<std::string> player;
    std::optional<eGameType> game;        // nothing: both games summed
    std::optional<eStakeLevel> stake;     // nothing: all levels summed
    std::optional<eSizeClass> sizeClass;  // nothing: all classes summed
    bool splitStakes = false;
    std::optional<int64_t> minHands;
    eOutputFormat format = eOutputFormat::Table;
    bool streets = false;  // the table adds the per-street figures in a second table
    int width = 100;       // the table's widest line, in terminal columns
};

struct sDumpOptions {
    std::string cacheFile;
};

struct sCommandLine {
    eCommand command = eCommand::Help;
    sImportOptions import;
    sStatsOptions stats;
    sDumpOptions dump;
};

// A command line the tool cannot run; the message says what is wrong with it.
class CUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments that follow the program name. Options take their value as the next
// argument or after "=" ("--weeks 4", "--weeks=4"); "--" ends the options. Throws CUsageError.
[[nodiscard]] sCommandLine ParseCommandLine(const std::vector<std::string>& args);

[[nodiscard]] std::string UsageText();

// "lanternquill 1.16": the version the program and the release archive carry.
[[nodiscard]] std::string VersionText();
