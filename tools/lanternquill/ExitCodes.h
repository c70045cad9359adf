// Exit statuses of the command-line tool.
#pragma once

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the command could not do its work
inline constexpr int kExitUsage = 2;    // the command line itself is wrong
