#include "app/CrashFiles.h"

#include <array>

sCrashClaim ClaimCrashFiles(const sCrashTime& utc, ICrashFileCreator& files) noexcept {
    std::array<char, 64> name{};
    for (unsigned attempt = 1; attempt <= kCrashNameAttempts; ++attempt) {
        const auto report = files.CreateNew(eCrashFile::Report,
                                            CrashFileName(utc, attempt, eCrashFile::Report, name));
        if (report == ICrashFileCreator::eResult::Exists) {
            continue;
        }
        if (report == ICrashFileCreator::eResult::Failed) {
            return {};
        }
        const auto dump =
            files.CreateNew(eCrashFile::Dump, CrashFileName(utc, attempt, eCrashFile::Dump, name));
        if (dump == ICrashFileCreator::eResult::Exists) {
            files.Remove(eCrashFile::Report);
            continue;
        }
        return {attempt, dump == ICrashFileCreator::eResult::Created};
    }
    return {};
}
