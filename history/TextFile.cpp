#include "history/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "history/ByteSearch.h"

#ifdef _WIN32
#include <share.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#endif

namespace {

// Closes the file when the read is over, whichever way it ends.
struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The platform's part of opening a file: exclusively where it can (Windows), with its identity.
// Reads go straight to the file, unbuffered: they are either large or a few dozen bytes that a
// buffer would only multiply.
FilePtr OpenExclusive(const std::string& path, sFileIdentity* identity) {
#ifdef _WIN32
    // Deny other readers and writers while the file is read, as the client may be appending.
    FilePtr file(_fsopen(path.c_str(), "rb", _SH_DENYRW));
    struct _stat64 status {};
    // The creation time: a file deleted and written again gets a new one.
    if (file != nullptr && identity != nullptr && _fstat64(_fileno(file.get()), &status) == 0) {
        *identity = {0, static_cast<uint64_t>(status.st_ctime)};
    }
#else
    FilePtr file(std::fopen(path.c_str(), "rb"));
    struct stat status {};
    if (file != nullptr && identity != nullptr && fstat(fileno(file.get()), &status) == 0) {
        *identity = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
    }
#endif
    if (file != nullptr) {
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
    return file;
}

bool SeekTo(std::FILE* f, int64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, offset, SEEK_SET) == 0;
#else
    return fseeko(f, offset, SEEK_SET) == 0;
#endif
}

// The file's length, with the position left at its start; -1 when it cannot be told.
int64_t FileLength(std::FILE* f) {
#ifdef _WIN32
    if (_fseeki64(f, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) {
        return -1;
    }
    const int64_t length = ftello(f);
#endif
    return SeekTo(f, 0) ? length : -1;
}

bool ReadExactly(std::FILE* f, char* into, size_t count) {
    return count == 0 || std::fread(into, 1, count, f) == count;
}

// Position of the first NUL in [from, size) of `text`, or its size.
size_t NulFrom(const std::string& text, size_t from) {
    const char* nul = bytesearch::FindByte(text.data() + from, text.data() + text.size(), '\0');
    return nul == nullptr ? text.size() : static_cast<size_t>(nul - text.data());
}

// Reads the rest of the file, `length` bytes from its start, into `text`. Resizing from the
// previous file's size only clears the bytes beyond it, so a caller that reuses one string for
// many files does not pay for zero-filling each of them.
bool ReadWhole(std::FILE* f, int64_t length, std::string& text) {
    if (length < 0 || static_cast<uint64_t>(length) > text.max_size()) {
        return false;
    }
    text.resize(static_cast<size_t>(length));
    return ReadExactly(f, text.data(), text.size());
}

}  // namespace

bool ReadTextFile(const std::string& path, std::string& text) {
    const FilePtr file = OpenExclusive(path, nullptr);
    if (file == nullptr || !ReadWhole(file.get(), FileLength(file.get()), text)) {
        text.clear();
        return false;
    }
    // The text ends at the first NUL byte, as a C string would.
    text.resize(NulFrom(text, 0));
    return true;
}

void CAppendedTextFile::Forget() noexcept {
    m_path.clear();
    m_text.clear();
    m_length = 0;
    m_identity = {};
}

CAppendedTextFile::eRead CAppendedTextFile::Read(const std::string& path) {
    sFileIdentity identity;
    const FilePtr file = OpenExclusive(path, &identity);
    const int64_t length = file != nullptr ? FileLength(file.get()) : -1;
    if (length < 0) {
        Forget();
        return eRead::Failed;
    }
    const auto newLength = static_cast<uint64_t>(length);
    const auto kept = static_cast<size_t>(std::min<uint64_t>(m_length, kCheckBytes));

    // The same file, grown or not: its first bytes and the bytes before the previous end are the
    // ones read before. They are read again (the tail together with what follows it).
    bool appended = path == m_path && newLength >= m_length && identity == m_identity;
    std::array<char, kCheckBytes> check{};
    if (appended) {
        appended = ReadExactly(file.get(), check.data(), kept) &&
                   bytesearch::BytesEqual(check.data(), m_head.data(), kept) &&
                   SeekTo(file.get(), static_cast<int64_t>(m_length - kept)) &&
                   ReadExactly(file.get(), check.data(), kept) &&
                   bytesearch::BytesEqual(check.data(), m_tail.data(), kept);
    }
    if (appended && newLength - m_length <= m_text.max_size() - m_text.size()) {
        const size_t textBefore = m_text.size();
        const bool cutBefore = textBefore < m_length;  // a NUL ended the text already
        const auto added = static_cast<size_t>(newLength - m_length);
        m_text.resize(textBefore + added);
        if (!ReadExactly(file.get(), m_text.data() + textBefore, added)) {
            Forget();
            return eRead::Failed;
        }
        // A file still shorter than the bytes compared has its first bytes completed, and the new
        // last bytes are what is left of the old tail, then the new bytes' own end.
        const char* newBytes = m_text.data() + textBefore;
        if (m_length < kCheckBytes) {
            std::memcpy(m_head.data() + m_length, newBytes,
                        std::min<size_t>(added, kCheckBytes - m_length));
        }
        const size_t fromNew = std::min(added, kCheckBytes);
        const size_t fromOld = std::min(kept, kCheckBytes - fromNew);
        std::memmove(m_tail.data(), m_tail.data() + kept - fromOld, fromOld);
        std::memcpy(m_tail.data() + fromOld, newBytes + added - fromNew, fromNew);
        m_text.resize(cutBefore ? textBefore : NulFrom(m_text, textBefore));
        m_length = newLength;
        return eRead::Appended;
    }

    if (!SeekTo(file.get(), 0) || !ReadWhole(file.get(), length, m_text)) {
        Forget();
        return eRead::Failed;
    }
    m_path = path;
    m_length = newLength;
    m_identity = identity;
    const size_t ends = std::min(m_text.size(), kCheckBytes);
    std::memcpy(m_head.data(), m_text.data(), ends);
    std::memcpy(m_tail.data(), m_text.data() + m_text.size() - ends, ends);
    m_text.resize(NulFrom(m_text, 0));
    return eRead::Whole;
}
