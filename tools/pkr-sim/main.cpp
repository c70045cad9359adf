// pkr-sim: writes simulated PKR hand history files and the counters they must produce.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "SimArguments.h"
#include "Simulator.h"

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
    if (!pkrsim::RunSimulation(options, result, error)) {
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
