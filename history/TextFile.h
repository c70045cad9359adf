// Reading hand history text from files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/FileIo.h"

// Reads the whole file (UTF-8 path), opened for exclusive reading where the platform allows it,
// into `text` (which is cut at the first NUL byte). False when the file cannot be opened or fewer
// bytes than its length could be read; `text` is then empty.
bool ReadTextFile(const std::string& path, std::string& text);

// A file the client appends to, such as a live table's hand history, kept in memory between reads
// so that a read takes only the bytes appended since the last one.
//
// Appending is the only change the client makes, and as long as the file changes only so, Text()
// is what ReadTextFile would give for the file as it stands. These other changes are seen, and
// the file is then read whole: a file at another path, one shorter than the bytes read before,
// one with another identity (another file moved into its place), one whose first kCheckBytes
// bytes or whose kCheckBytes bytes before the previous end differ from those read before (both
// compared on every read, at the cost of a few dozen bytes), and the first read after a failed
// one. Not seen: the same file rewritten in place, no shorter, with those compared bytes as they
// were but others changed; that is taken as an append, and Text() keeps the bytes read before
// until Forget().
class CAppendedTextFile {
public:
    enum class eRead {
        Failed,    // the file could not be opened or read; Text() is empty
        Whole,     // the file was read from its first byte
        Appended,  // only the bytes after the previous end were read (possibly none)
    };

    eRead Read(const std::string& path);
    [[nodiscard]] const std::string& Text() const noexcept { return m_text; }
    // Forgets the file, so that the next read is a whole one.
    void Forget() noexcept;

    // Bytes compared at the start and before the previous end to tell the file is the same.
    static constexpr size_t kCheckBytes = 64;

private:
    std::string m_path;
    std::string m_text;
    uint64_t m_length = 0;  // bytes of the file read; the text ends earlier after a NUL
    sFileIdentity m_identity;
    std::array<char, kCheckBytes> m_head{};  // the file's first min(length, kCheckBytes) bytes
    std::array<char, kCheckBytes> m_tail{};  // the last min(length, kCheckBytes) bytes read
};
