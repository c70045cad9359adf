// Whole-file reading of hand history text.
#pragma once

#include <string>

// Reads the whole file (UTF-8 path), opened for exclusive reading where the platform allows it,
// into `text` (which is cut at the first NUL byte). False when the file cannot be opened or fewer
// bytes than its length could be read; `text` is then empty.
bool ReadTextFile(const std::string& path, std::string& text);
