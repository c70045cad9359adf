// Whether new files can be made in a folder, asked the one way that answers for every reason a
// folder may refuse them (permissions, a read-only share or medium, a protected system folder):
// by making one.
#pragma once

#include <string>
#include <system_error>

#include "platform/FileSystem.h"

// Creates a file in `folder` (a UTF-8 path) under a name no file there has, and removes it again;
// nothing else in the folder is touched. Returns the system's reason when the file could not be
// made or removed, and an empty error when it could.
[[nodiscard]] std::error_code ProbeFolderWritable(const std::string& folder);

// The probe file's path in `folder` for the given process and attempt: ProbeFolderWritable
// creates it without replacing anything and tries the next attempt's name when one is taken.
[[nodiscard]] inline std::string FolderProbePath(const std::string& folder, unsigned long process,
                                                 unsigned attempt) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != kPathSeparator) {
        path += kPathSeparator;
    }
    return path + "LanternquillWriteTest-" + std::to_string(process) + "-" +
           std::to_string(attempt) + ".tmp";
}

// How many names ProbeFolderWritable tries before it gives up with "file exists".
inline constexpr unsigned kFolderProbeAttempts = 16;
