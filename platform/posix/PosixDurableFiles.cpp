#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>  // renameat2

#include <cerrno>

#include "platform/DurableFiles.h"

namespace {

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// Owns a file descriptor.
class CFd {
public:
    explicit CFd(int fd) noexcept : m_fd(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    [[nodiscard]] int Get() const noexcept { return m_fd; }
    [[nodiscard]] bool IsOpen() const noexcept { return m_fd >= 0; }
    // Gives up ownership without closing.
    int Release() noexcept {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // 0, or the errno of a failed close (the descriptor is gone either way).
    int Close() noexcept {
        if (m_fd < 0) {
            return 0;
        }
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

class CPosixWriter final : public IFileWriter {
public:
    explicit CPosixWriter(int fd) : m_fd(fd) {}
    bool Write(const void* data, size_t size, std::error_code& error) override {
        const auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t done = ::write(m_fd.Get(), bytes, size);
            if (done < 0 && errno == EINTR) {
                continue;
            }
            if (done <= 0) {
                error = done < 0 ? LastError() : std::make_error_code(std::errc::io_error);
                return false;
            }
            bytes += done;
            size -= static_cast<size_t>(done);
        }
        return true;
    }
    bool Flush(std::error_code& error) override {
        if (::fsync(m_fd.Get()) != 0) {
            error = LastError();
            return false;
        }
        return true;
    }
    bool Close(std::error_code& error) override {
        // Closing lets go of the lock too.
        if (const int failed = m_fd.Close(); failed != 0) {
            error = {failed, std::generic_category()};
            return false;
        }
        return true;
    }

private:
    CFd m_fd;
};

class CPosixReader final : public IFileReader {
public:
    explicit CPosixReader(int fd) : m_fd(fd) {}
    bool Size(uint64_t& size, std::error_code& error) override {
        struct stat status {};
        if (::fstat(m_fd.Get(), &status) != 0) {
            error = LastError();
            return false;
        }
        size = static_cast<uint64_t>(status.st_size);
        return true;
    }
    size_t Read(void* out, size_t size, std::error_code& error) override {
        auto* bytes = static_cast<char*>(out);
        size_t total = 0;
        while (total < size) {
            const ssize_t got = ::read(m_fd.Get(), bytes + total, size - total);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                error = LastError();
                break;
            }
            if (got == 0) {
                break;
            }
            total += static_cast<size_t>(got);
        }
        return total;
    }

private:
    CFd m_fd;
};

class CPosixDurableFiles final : public IDurableFiles {
public:
    std::unique_ptr<IFileReader> OpenRead(const std::string& path,
                                          std::error_code& error) override {
        errno = 0;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            error = LastError();
            return nullptr;
        }
        return std::make_unique<CPosixReader>(fd);
    }

    std::unique_ptr<IFileWriter> CreateNew(const std::string& path,
                                           std::error_code& error) override {
        errno = 0;
        CFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.IsOpen()) {
            error = LastError();
            return nullptr;
        }
        // Held until the writer is closed: RemoveIfUnheld of another process leaves the file
        // alone meanwhile. (A file system without locks still gets the exclusive create.)
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            error = std::make_error_code(std::errc::device_or_resource_busy);
            return nullptr;
        }
        return std::make_unique<CPosixWriter>(fd.Release());
    }

    bool RemoveIfUnheld(const std::string& path, std::error_code& error) override {
        errno = 0;
        CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!fd.IsOpen()) {
            error = LastError();
            return false;
        }
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            error = errno == EWOULDBLOCK ? std::make_error_code(std::errc::device_or_resource_busy)
                                         : LastError();
            return false;
        }
        // Only the file that was locked: another one may have taken the name since it was opened.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd.Get(), &held) != 0 || ::lstat(path.c_str(), &named) != 0 ||
            held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
            error = std::make_error_code(std::errc::device_or_resource_busy);
            return false;
        }
        if (::unlink(path.c_str()) != 0) {
            error = LastError();
            return false;
        }
        return true;
    }

    bool Replace(const std::string& from, const std::string& to, std::error_code& error) override {
        errno = 0;
        if (::rename(from.c_str(), to.c_str()) != 0) {
            error = LastError();
            return false;
        }
        return true;
    }

    bool MoveNoReplace(const std::string& from, const std::string& to,
                       std::error_code& error) override {
        errno = 0;
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return true;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
            error = LastError();
            return false;
        }
        // A file system without the flag: a second link fails where anything stands, and only
        // then is the old name removed.
        errno = 0;
        if (::link(from.c_str(), to.c_str()) != 0) {
            error = LastError();
            return false;
        }
        if (::unlink(from.c_str()) != 0) {
            error = LastError();
            ::unlink(to.c_str());
            return false;
        }
        return true;
    }

    bool SyncFolder(const std::string& folder, std::error_code& error) override {
        errno = 0;
        CFd fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.IsOpen() || ::fsync(fd.Get()) != 0) {
            error = LastError();
            return false;
        }
        return true;
    }
};

}  // namespace

IDurableFiles& SystemDurableFiles() {
    static CPosixDurableFiles files;
    return files;
}
