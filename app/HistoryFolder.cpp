#include "app/HistoryFolder.h"

namespace {

// The install folder as it fits the 256-byte buffer it is read into: the text up to the first
// NUL, and nothing at all when the text with one terminator needs more room than that (the read
// then fails and the zeroed buffer stays empty). The value's own terminator, when the stored
// bytes carry it, is that one terminator and is not counted again.
constexpr std::size_t kInstallDirBufferSize = 256;

std::string FitInstallDirBuffer(std::string value) {
    if (!value.empty() && value.back() == '\0') {
        value.pop_back();
    }
    if (value.size() + 1 > kInstallDirBufferSize) {
        return {};
    }
    return value.substr(0, value.find('\0'));
}

}  // namespace

std::string LookUpHistoryPattern(IRegistryReader& registry) {
    std::optional<std::string> installDir =
        registry.ReadString(eRegistryHive::LocalMachine, kPkrRegistryKey, kPkrInstallValue);
    if (!installDir) {
        installDir =
            registry.ReadString(eRegistryHive::CurrentUser, kPkrRegistryKey, kPkrInstallValue);
    }
    if (!installDir) {
        return kDefaultHistoryPattern;
    }
    return FitInstallDirBuffer(*installDir) + kHistoryPatternSuffix;
}

std::string HistoryFolderFromPattern(std::string_view pattern) {
    constexpr std::string_view kWildcard = "\\*.*";
    if (pattern.ends_with(kWildcard)) {
        pattern.remove_suffix(kWildcard.size());
    }
    return std::string(pattern);
}
