// The import command: reads hand history folders into the cache file.
#pragma once

#include <ostream>

#include "tools/lanternquill/CommandLine.h"

class INamedLocks;

// Returns the process exit status. The summary goes to `out`, messages and the progress bar
// (when standard error is a terminal) to `err`. The cache file's lock (history/CacheLock.h) is
// taken from `locks` and held until the cache is written; while another process holds it (a
// running Lanternquill.exe or another import) the import is refused with status 1 and nothing
// is read or written.
int RunImport(const sImportOptions& options, std::ostream& out, std::ostream& err,
              INamedLocks& locks);
int RunImport(const sImportOptions& options, std::ostream& out, std::ostream& err);
