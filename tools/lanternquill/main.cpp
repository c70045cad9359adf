// lanternquill: the statistics of the HUD without the overlay. Imports hand history folders into
// the cache file, prints per-player statistics from it, and dumps its counters for diagnosis.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/SystemText.h"
#include "tools/lanternquill/CommandLine.h"
#include "tools/lanternquill/DumpCommand.h"
#include "tools/lanternquill/ExitCodes.h"
#include "tools/lanternquill/ImportCommand.h"
#include "tools/lanternquill/StatsCommand.h"

namespace {

int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::cerr << UsageText();
        return kExitUsage;
    }
    const sCommandLine line = ParseCommandLine(args);
    switch (line.command) {
        case eCommand::Help:
            std::cout << UsageText();
            return kExitOk;
        case eCommand::Version:
            std::cout << VersionText();
            return kExitOk;
        case eCommand::Import:
            return RunImport(line.import, std::cout, std::cerr);
        case eCommand::Stats:
            return RunStats(line.stats, std::cout, std::cerr);
        case eCommand::Dump:
            return RunDump(line.dump, std::cout, std::cerr);
    }
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        // UTF-8 on every system, so folder, cache and player names outside the ANSI code page
        // reach the tool on Windows too.
        const int status = Run(CommandLineArguments(argc, argv));
        std::cout.flush();
        return std::cout ? status : kExitFailure;
    } catch (const CUsageError& error) {
        std::cerr << "lanternquill: " << error.what() << "\nRun 'lanternquill --help' for usage.\n";
        return kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "lanternquill: " << error.what() << '\n';
        return kExitFailure;
    }
}
