// What the benchmark needs from the operating system: the process's peak memory, the thread's
// processor time and running
// the simulator as a child process (so the generator's memory is not counted as ours).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Peak resident memory of this process so far, in bytes; -1 where it cannot be read.
int64_t PeakResidentBytes();

// Processor time of this thread in microseconds, or -1 where it is not measured.
double ThreadCpuMicros();

// Runs `program` with `args` and waits; true when it exited with status 0.
bool RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace bench
