#include "history/TextFile.h"

#include <cstdint>
#include <cstring>

#include "platform/FileIo.h"

bool ReadTextFile(const std::string& path, std::string& text) {
    // Opened with no sharing where the platform allows it, as the client may be appending.
    const CExclusiveReadFile file(path);
    const int64_t length = file.IsOpen() ? file.Size() : -1;
    if (length < 0 || static_cast<uint64_t>(length) > text.max_size()) {
        text.clear();
        return false;
    }
    // Resizing from the previous file's size only clears the bytes beyond it, so a caller that
    // reuses one string for many files does not pay for zero-filling each of them.
    text.resize(static_cast<size_t>(length));
    if (length > 0 && !file.ReadAt(0, text.data(), text.size())) {
        text.clear();
        return false;
    }
    // The text ends at the first NUL byte, as a C string would.
    if (const void* nul = std::memchr(text.data(), 0, text.size())) {
        text.resize(static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
    }
    return true;
}
