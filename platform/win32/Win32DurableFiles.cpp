#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/DurableFiles.h"
#include "platform/win32/ScopedWin.h"
#include "platform/win32/Utf16.h"

namespace {

// Windows error codes with the system's own words for them, comparing equal to the portable
// conditions callers tell apart (std::errc::file_exists, ...).
class CWindowsErrorCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "windows"; }
    [[nodiscard]] std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD length = FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::wstring wide = length > 0 && text != nullptr ? std::wstring(text, length) : L"";
        LocalFree(text);
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' ||
                                 wide.back() == L' ' || wide.back() == L'.')) {
            wide.pop_back();
        }
        return wide.empty() ? "Windows error " + std::to_string(code) : Utf8FromWide(wide);
    }
    [[nodiscard]] std::error_condition default_error_condition(int code) const noexcept override {
        struct sMapping {
            DWORD windows;
            std::errc portable;
        };
        static constexpr sMapping kMappings[] = {
            {ERROR_FILE_EXISTS, std::errc::file_exists},
            {ERROR_ALREADY_EXISTS, std::errc::file_exists},
            {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
            {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
            {ERROR_ACCESS_DENIED, std::errc::permission_denied},
            {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy},
            {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy},
            {ERROR_DISK_FULL, std::errc::no_space_on_device},
            {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
            {ERROR_WRITE_PROTECT, std::errc::read_only_file_system},
        };
        for (const sMapping& mapping : kMappings) {
            if (mapping.windows == static_cast<DWORD>(code)) {
                return std::make_error_condition(mapping.portable);
            }
        }
        return {code, *this};
    }
};

// The system's reason for the last failed call.
std::error_code LastError() {
    static const CWindowsErrorCategory category;
    const DWORD code = GetLastError();
    return {code != 0 ? static_cast<int>(code) : static_cast<int>(ERROR_GEN_FAILURE), category};
}

using CScopedFile = CScopedHandle<sFileHandleTraits>;

class CWin32Writer final : public IFileWriter {
public:
    explicit CWin32Writer(HANDLE file) : m_file(file) {}
    bool Write(const void* data, size_t size, std::error_code& error) override {
        constexpr size_t kMaxChunk = size_t{1} << 30;
        const auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
            DWORD done = 0;
            if (WriteFile(m_file.Get(), bytes, chunk, &done, nullptr) == FALSE || done == 0) {
                error = LastError();
                return false;
            }
            bytes += done;
            size -= done;
        }
        return true;
    }
    bool Flush(std::error_code& error) override {
        if (FlushFileBuffers(m_file.Get()) == FALSE) {
            error = LastError();
            return false;
        }
        return true;
    }
    bool Close(std::error_code& error) override {
        if (CloseHandle(m_file.Release()) == FALSE) {
            error = LastError();
            return false;
        }
        return true;
    }

private:
    CScopedFile m_file;
};

class CWin32Reader final : public IFileReader {
public:
    explicit CWin32Reader(HANDLE file) : m_file(file) {}
    bool Size(uint64_t& size, std::error_code& error) override {
        LARGE_INTEGER length{};
        if (GetFileSizeEx(m_file.Get(), &length) == FALSE) {
            error = LastError();
            return false;
        }
        size = static_cast<uint64_t>(length.QuadPart);
        return true;
    }
    size_t Read(void* out, size_t size, std::error_code& error) override {
        constexpr size_t kMaxChunk = size_t{1} << 30;
        auto* bytes = static_cast<char*>(out);
        size_t total = 0;
        while (total < size) {
            const auto chunk = static_cast<DWORD>(std::min(size - total, kMaxChunk));
            DWORD got = 0;
            if (ReadFile(m_file.Get(), bytes + total, chunk, &got, nullptr) == FALSE) {
                error = LastError();
                break;
            }
            if (got == 0) {
                break;
            }
            total += got;
        }
        return total;
    }

private:
    CScopedFile m_file;
};

class CWin32DurableFiles final : public IDurableFiles {
public:
    std::unique_ptr<IFileReader> OpenRead(const std::string& path,
                                          std::error_code& error) override {
        // Other readers are welcome, writers are not while the file is read.
        CScopedFile file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            error = LastError();
            return nullptr;
        }
        return std::make_unique<CWin32Reader>(file.Release());
    }

    std::unique_ptr<IFileWriter> CreateNew(const std::string& path,
                                           std::error_code& error) override {
        // Not shared: another process can neither open nor delete it while it is written.
        CScopedFile file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = LastError();
            return nullptr;
        }
        return std::make_unique<CWin32Writer>(file.Release());
    }

    bool RemoveIfUnheld(const std::string& path, std::error_code& error) override {
        // A file another process holds open without sharing its deletion cannot be deleted.
        if (DeleteFileW(WideFromUtf8(path).c_str()) == FALSE) {
            error = LastError();
            return false;
        }
        return true;
    }

    bool Replace(const std::string& from, const std::string& to, std::error_code& error) override {
        if (MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
            error = LastError();
            return false;
        }
        return true;
    }

    bool MoveNoReplace(const std::string& from, const std::string& to,
                       std::error_code& error) override {
        if (MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                        MOVEFILE_WRITE_THROUGH) == FALSE) {
            error = LastError();
            return false;
        }
        return true;
    }

    bool SyncFolder(const std::string& /*folder*/, std::error_code& /*error*/) override {
        return true;  // the renames are written through
    }
};

}  // namespace

IDurableFiles& SystemDurableFiles() {
    static CWin32DurableFiles files;
    return files;
}
