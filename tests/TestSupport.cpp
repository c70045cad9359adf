#include "tests/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include <share.h>
#endif

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace testing_support {

namespace {

long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

size_t PageSize() {
#ifdef _WIN32
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

GuardedBytes::GuardedBytes(size_t size) {
    const size_t page = PageSize();
    const size_t readable = std::max<size_t>(1, (size + page - 1) / page) * page;
    m_mappingSize = readable + 2 * page;
#ifdef _WIN32
    m_mapping = static_cast<char*>(
        VirtualAlloc(nullptr, m_mappingSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD before = 0;
    if (m_mapping == nullptr) {
        throw std::runtime_error("cannot make guarded memory");
    }
    if (VirtualProtect(m_mapping, page, PAGE_NOACCESS, &before) == FALSE ||
        VirtualProtect(m_mapping + page + readable, page, PAGE_NOACCESS, &before) == FALSE) {
        VirtualFree(m_mapping, 0, MEM_RELEASE);
        throw std::runtime_error("cannot make guarded memory");
    }
#else
    void* mapping =
        mmap(nullptr, m_mappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        throw std::runtime_error("cannot make guarded memory");
    }
    m_mapping = static_cast<char*>(mapping);
    if (mprotect(m_mapping, page, PROT_NONE) != 0 ||
        mprotect(m_mapping + page + readable, page, PROT_NONE) != 0) {
        munmap(m_mapping, m_mappingSize);
        throw std::runtime_error("cannot make guarded memory");
    }
#endif
    m_begin = m_mapping + page;
    m_end = m_begin + readable;
}

GuardedBytes::~GuardedBytes() {
#ifdef _WIN32
    VirtualFree(m_mapping, 0, MEM_RELEASE);
#else
    munmap(m_mapping, m_mappingSize);
#endif
}

char* GuardedBytes::Put(std::string_view bytes, bool atEnd) const {
    if (bytes.size() > static_cast<size_t>(m_end - m_begin)) {
        throw std::length_error("more bytes than the guarded memory holds");
    }
    char* first = atEnd ? m_end - bytes.size() : m_begin;
    std::copy(bytes.begin(), bytes.end(), first);
    return first;
}

ScopedTempDir::ScopedTempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    // The process id keeps test processes run side by side (ctest -j) apart by construction,
    // whatever the clock's resolution; the clock and the counter keep this process's folders
    // apart from each other and from those a process of the same id left behind.
    const std::string prefix =
        "lq-test-" + std::to_string(ProcessId()) + "-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / (prefix + std::to_string(counter++));
        // Without throwing: a name taken, even by a folder removed again at once, means the next.
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

ScopedUnreadableFile::ScopedUnreadableFile(std::string path) : m_path(std::move(path)) {
#ifdef _WIN32
    m_handle = _fsopen(m_path.c_str(), "rb", _SH_DENYRW);
    if (m_handle == nullptr) {
        throw std::runtime_error("cannot hold " + m_path);
    }
#else
    std::filesystem::rename(m_path, m_path + ".held");
    std::filesystem::create_symlink(m_path + ".nowhere", m_path);
#endif
    m_held = true;
}

void ScopedUnreadableFile::Release() {
    if (!m_held) {
        return;
    }
    m_held = false;
#ifdef _WIN32
    std::fclose(static_cast<std::FILE*>(m_handle));
    m_handle = nullptr;
#else
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
    std::filesystem::rename(m_path + ".held", m_path, ec);
#endif
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::optional<std::filesystem::path> SamplesDir() {
    std::filesystem::path dir;
    if (const char* env = std::getenv("LQ_SAMPLES_DIR")) {
        dir = env;
    } else {
        dir = LQ_SHARED_SAMPLES_DIR;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(dir / "cash", ec)) {
        return dir;
    }
    return std::nullopt;
}

}  // namespace testing_support
