// The dump command: every non-zero counter of a cache file, for diagnosis.
#pragma once

#include <ostream>

#include "tools/lanternquill/CommandLine.h"

// Returns the process exit status. The file is never changed, even when it is malformed.
int RunDump(const sDumpOptions& options, std::ostream& out, std::ostream& err);
