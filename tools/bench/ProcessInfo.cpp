#include "ProcessInfo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace bench {

namespace {

// The argument as one shell word.
std::string Quote(const std::string& arg) {
#ifdef _WIN32
    return "\"" + arg + "\"";
#else
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
#endif
}

}  // namespace

double ThreadCpuMicros() {
#ifdef _WIN32
    return -1;
#else
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) {
        return -1;
    }
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
#endif
}

int64_t PeakResidentBytes() {
#ifdef _WIN32
    return -1;
#else
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) {
        return -1;
    }
    return static_cast<int64_t>(usage.ru_maxrss) * 1024;  // Linux reports kilobytes
#endif
}

bool RunProgram(const std::string& program, const std::vector<std::string>& args) {
    std::string command = Quote(program);
    for (const std::string& arg : args) {
        command += ' ';
        command += Quote(arg);
    }
    std::fflush(nullptr);  // the child writes to the same streams
    return std::system(command.c_str()) == 0;
}

}  // namespace bench
