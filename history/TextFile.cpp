#include "history/TextFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <share.h>
#endif

namespace {

// Closes the file when the read is over, whichever way it ends.
struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

std::FILE* OpenExclusive(const std::string& path) {
#ifdef _WIN32
    // Deny other readers and writers while the file is read, as the client may be appending.
    return _fsopen(path.c_str(), "rb", _SH_DENYRW);
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

int64_t FileLength(std::FILE* f) {
#ifdef _WIN32
    if (_fseeki64(f, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = _ftelli64(f);
    return _fseeki64(f, 0, SEEK_SET) == 0 ? length : -1;
#else
    if (fseeko(f, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = ftello(f);
    return fseeko(f, 0, SEEK_SET) == 0 ? length : -1;
#endif
}

}  // namespace

bool ReadTextFile(const std::string& path, std::string& text) {
    std::FILE* raw = OpenExclusive(path);
    if (raw == nullptr) {
        text.clear();
        return false;
    }
    const std::unique_ptr<std::FILE, FileCloser> file(raw);
    const int64_t length = FileLength(raw);
    if (length < 0 || static_cast<uint64_t>(length) > text.max_size()) {
        text.clear();
        return false;
    }
    // Resizing from the previous file's size only clears the bytes beyond it, so a caller that
    // reuses one string for many files does not pay for zero-filling each of them.
    text.resize(static_cast<size_t>(length));
    if (length > 0 && std::fread(text.data(), 1, text.size(), raw) != text.size()) {
        text.clear();
        return false;
    }
    // The text ends at the first NUL byte, as a C string would.
    if (const void* nul = std::memchr(text.data(), 0, text.size())) {
        text.resize(static_cast<size_t>(static_cast<const char*>(nul) - text.data()));
    }
    return true;
}
