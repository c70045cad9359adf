#include "history/TextFile.h"

#include <algorithm>
#include <cstring>

#include "history/ByteSearch.h"

namespace {

// Position of the first NUL in [from, size) of `text`, or its size.
size_t NulFrom(const std::string& text, size_t from) {
    const char* nul = bytesearch::FindByte(text.data() + from, text.data() + text.size(), '\0');
    return nul == nullptr ? text.size() : static_cast<size_t>(nul - text.data());
}

// Reads the file's first `length` bytes into `text`. Resizing from the previous file's size only
// clears the bytes beyond it, so a caller that reuses one string for many files does not pay for
// zero-filling each of them.
bool ReadWhole(const CExclusiveReadFile& file, int64_t length, std::string& text) {
    if (length < 0 || static_cast<uint64_t>(length) > text.max_size()) {
        return false;
    }
    text.resize(static_cast<size_t>(length));
    return length == 0 || file.ReadAt(0, text.data(), text.size());
}

}  // namespace

bool ReadTextFile(const std::string& path, std::string& text) {
    // Opened with no sharing where the platform allows it, as the client may be appending.
    const CExclusiveReadFile file(path);
    if (!file.IsOpen() || !ReadWhole(file, file.Size(), text)) {
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
    const CExclusiveReadFile file(path);
    const int64_t length = file.IsOpen() ? file.Size() : -1;
    if (length < 0) {
        Forget();
        return eRead::Failed;
    }
    const sFileIdentity identity = file.Identity();
    const auto newLength = static_cast<uint64_t>(length);
    const auto kept = static_cast<size_t>(std::min<uint64_t>(m_length, kCheckBytes));

    // The same file, grown or not: its first bytes and the bytes before the previous end are the
    // ones read before.
    bool appended = path == m_path && newLength >= m_length && identity == m_identity;
    std::array<char, kCheckBytes> check{};
    if (appended && kept > 0) {
        appended = file.ReadAt(0, check.data(), kept) &&
                   bytesearch::BytesEqual(check.data(), m_head.data(), kept) &&
                   file.ReadAt(m_length - kept, check.data(), kept) &&
                   bytesearch::BytesEqual(check.data(), m_tail.data(), kept);
    }
    if (appended && newLength - m_length <= m_text.max_size() - m_text.size()) {
        const size_t textBefore = m_text.size();
        const bool cutBefore = textBefore < m_length;  // a NUL ended the text already
        const auto added = static_cast<size_t>(newLength - m_length);
        m_text.resize(textBefore + added);
        if (added > 0 && !file.ReadAt(m_length, m_text.data() + textBefore, added)) {
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

    if (!ReadWhole(file, length, m_text)) {
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
