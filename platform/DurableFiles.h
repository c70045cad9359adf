// The file operations a file that must survive a crash, a power cut or a second writer is made
// of: a file created only where nothing stands, written and flushed to stable storage, renamed
// into place, and a file read to its end that tells an I/O error from the end of its data. Paths
// are UTF-8. The system's implementation sits on POSIX (fsync, flock, renameat2) or on the Win32
// calls (FlushFileBuffers, sharing modes, MoveFileExW); tests wrap it to record or fail calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>

// A file being written. Other processes cannot remove it while it is open (Windows: it is not
// shared; POSIX: an advisory lock is held that IDurableFiles::RemoveIfUnheld respects).
class IFileWriter {
public:
    virtual ~IFileWriter() = default;
    // Writes all `size` bytes; false with the reason in `error` otherwise.
    virtual bool Write(const void* data, size_t size, std::error_code& error) = 0;
    // Puts what was written on stable storage (FlushFileBuffers, fsync).
    virtual bool Flush(std::error_code& error) = 0;
    // Closes the file; false when the system reports a failure while doing so. The file is
    // closed either way, and the writer must not be used again.
    virtual bool Close(std::error_code& error) = 0;
};

// A file being read front to back.
class IFileReader {
public:
    virtual ~IFileReader() = default;
    // The file's length in bytes; false (with the reason in `error`) when it cannot be read.
    [[nodiscard]] virtual bool Size(uint64_t& size, std::error_code& error) = 0;
    // Reads up to `size` bytes into `out` and returns how many were read: fewer only at the end
    // of the file or on an I/O error, which sets `error` (it stays clear at the end of the data).
    virtual size_t Read(void* out, size_t size, std::error_code& error) = 0;
};

class IDurableFiles {
public:
    virtual ~IDurableFiles() = default;
    // Opens an existing file for reading, with writers shut out where the system allows it.
    // Null with the reason in `error` when it cannot be opened.
    virtual std::unique_ptr<IFileReader> OpenRead(const std::string& path,
                                                  std::error_code& error) = 0;
    // Creates `path` for writing only when nothing stands there (std::errc::file_exists
    // otherwise), shared with no other process. Null with the reason in `error` on failure.
    virtual std::unique_ptr<IFileWriter> CreateNew(const std::string& path,
                                                   std::error_code& error) = 0;
    // Removes the file at `path` unless another process has it open as an IFileWriter (or, on
    // Windows, open at all). False with the reason in `error` when it was not removed.
    virtual bool RemoveIfUnheld(const std::string& path, std::error_code& error) = 0;
    // Renames `from` to `to`, replacing a file at `to`, with the new name on stable storage once
    // the folder is synchronised (Windows: written through at once).
    virtual bool Replace(const std::string& from, const std::string& to,
                         std::error_code& error) = 0;
    // Renames `from` to `to` only when nothing stands at `to` (std::errc::file_exists
    // otherwise); never replaces anything.
    virtual bool MoveNoReplace(const std::string& from, const std::string& to,
                               std::error_code& error) = 0;
    // Puts the folder's entries (a rename into it) on stable storage. Nothing to do on Windows.
    virtual bool SyncFolder(const std::string& folder, std::error_code& error) = 0;
};

// The machine's files.
[[nodiscard]] IDurableFiles& SystemDurableFiles();
