#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileIo.h"

std::FILE* OpenFileUtf8(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

CExclusiveReadFile::CExclusiveReadFile(const std::string& path) {
    // POSIX has no sharing modes: the file is simply opened for reading.
    m_handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

CExclusiveReadFile::~CExclusiveReadFile() {
    if (IsOpen()) {
        ::close(static_cast<int>(m_handle));
    }
}

int64_t CExclusiveReadFile::Size() const {
    struct stat status {};
    if (!IsOpen() || ::fstat(static_cast<int>(m_handle), &status) != 0) {
        return -1;
    }
    return static_cast<int64_t>(status.st_size);
}

sFileIdentity CExclusiveReadFile::Identity() const {
    struct stat status {};
    if (!IsOpen() || ::fstat(static_cast<int>(m_handle), &status) != 0) {
        return {};
    }
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

bool CExclusiveReadFile::ReadAt(uint64_t offset, void* out, size_t size) const {
    auto* bytes = static_cast<char*>(out);
    while (size > 0 && IsOpen()) {
        const ssize_t got =
            ::pread(static_cast<int>(m_handle), bytes, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        bytes += got;
        offset += static_cast<uint64_t>(got);
        size -= static_cast<size_t>(got);
    }
    return size == 0;
}
