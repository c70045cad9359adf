#include "app/HistoryFolder.h"

namespace {

// The install folder as it fits the buffer of 256 characters it is read into: the text up to the
// first NUL, and nothing at all when the text with one terminator needs more room than that (the
// read then fails and the zeroed buffer stays empty). The value's own terminator, when the stored
// data carries it, is that one terminator and is not counted again.
constexpr std::size_t kInstallDirBufferSize = 256;

// Characters of UTF-8 text: the bytes that do not continue a sequence.
std::size_t CharacterCount(const std::string& utf8) noexcept {
    std::size_t count = 0;
    for (const char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return count;
}

std::string FitInstallDirBuffer(std::string value) {
    if (!value.empty() && value.back() == '\0') {
        value.pop_back();
    }
    if (CharacterCount(value) + 1 > kInstallDirBufferSize) {
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
