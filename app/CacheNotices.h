// What the program tells the player about its statistics file when it cannot keep it: worded
// here, shown by the window classes in a message box with this caption.
#pragma once

#include <optional>
#include <string>
#include <system_error>

inline constexpr const char* kCacheNoticeCaption = "Lanternquill Statistics";

// At start, when another process has the cache file at `cachePath` loaded (a Lanternquill
// already running, or an import of the command-line tool): that start ends without loading or
// saving anything.
[[nodiscard]] std::string CacheInUseText(const std::string& cachePath);

// At start, after a probe of the cache file's folder: the warning that the statistics cannot be
// saved there, or nothing when the probe found the folder writable (an empty `probe`).
[[nodiscard]] std::optional<std::string> UnwritableFolderText(const std::string& folder,
                                                              std::error_code probe);

// At exit: the message for a save of the cache file that did not succeed, or nothing when it
// did. `error` is the save's reason; a failure without one is still told.
[[nodiscard]] std::optional<std::string> FailedSaveText(const std::string& cachePath, bool saved,
                                                        std::error_code error);
