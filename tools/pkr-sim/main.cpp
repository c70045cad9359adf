// pkr-sim: writes simulated PKR hand history files and the counters they must produce.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "LiveSimulation.h"
#include "SimArguments.h"
#include "Simulator.h"

namespace {

bool RunLive(const pkrsim::sSimOptions& options, pkrsim::sSimResult& result, std::string& error) {
    pkrsim::sLiveObserver observer;
    observer.started = [&options](const std::vector<std::string>& files) {
        std::printf("pkr-sim: live, %zu tables, a hand every %d ms:\n", files.size(),
                    options.paceMs);
        for (const std::string& file : files) {
            std::printf("  %s\n", file.c_str());
        }
        std::fflush(stdout);
    };
    return pkrsim::RunLiveSimulation(options, result, error, observer);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    pkrsim::sSimOptions options;
    std::string error;
    switch (pkrsim::ParseSimArguments(args, options, error)) {
        case pkrsim::eArgsResult::Help:
            std::fputs(pkrsim::SimUsage().c_str(), stdout);
            return 0;
        case pkrsim::eArgsResult::Error:
            std::fprintf(stderr, "pkr-sim: %s\nTry 'pkr-sim --help'.\n", error.c_str());
            return 2;
        case pkrsim::eArgsResult::Run:
            break;
    }

    const auto start = std::chrono::steady_clock::now();
    pkrsim::sSimResult result;
    const bool ok = options.live ? RunLive(options, result, error)
                                 : pkrsim::RunSimulation(options, result, error);
    if (!ok) {
        std::fprintf(stderr, "pkr-sim: %s\n", error.c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("pkr-sim: %lld hands in %zu files, %.2f s; expected counters in %s\n",
                static_cast<long long>(result.handsWritten), result.files.size(), seconds,
                result.expectedCountersPath.c_str());
    return 0;
}
