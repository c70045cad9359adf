// The import command: reads hand history folders into the cache file.
#pragma once

#include <ostream>

#include "tools/lanternquill/CommandLine.h"

// Returns the process exit status. The summary goes to `out`, messages and the progress bar
// (when standard error is a terminal) to `err`.
int RunImport(const sImportOptions& options, std::ostream& out, std::ostream& err);
