#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FolderProbe.h"

std::error_code ProbeFolderWritable(const std::string& folder) {
    const auto process = static_cast<unsigned long>(::getpid());
    for (unsigned attempt = 0; attempt < kFolderProbeAttempts; ++attempt) {
        const std::string path = FolderProbePath(folder, process, attempt);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (file < 0) {
            if (errno == EEXIST) {
                continue;  // somebody's file, maybe a probe left by a killed process: not ours
            }
            return {errno, std::generic_category()};
        }
        ::close(file);
        if (::unlink(path.c_str()) != 0) {
            return {errno, std::generic_category()};
        }
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}
