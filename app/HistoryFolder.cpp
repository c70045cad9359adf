#include "app/HistoryFolder.h"

#include <algorithm>

namespace {

// The install folder as it fits the buffer of 256 characters it is read into: the text up to the
// first NUL, and nothing at all when the text with one terminator needs more room than that (the
// read then fails and the zeroed buffer stays empty). The value's own terminator, when the stored
// data carries it, is that one terminator and is not counted again.
constexpr std::size_t kInstallDirBufferSize = 256;

bool IsContinuationByte(char c) noexcept {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// Characters of UTF-8 text: the bytes that do not continue a sequence.
std::size_t CharacterCount(const std::string& utf8) noexcept {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return !IsContinuationByte(c); }));
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

// The keys in the order they are tried.
struct sKeyPlace {
    eRegistryHive hive;
    eRegistryView view;
};
constexpr sKeyPlace kKeyOrder[] = {
    {eRegistryHive::LocalMachine, eRegistryView::Bits32},
    {eRegistryHive::LocalMachine, eRegistryView::Bits64},
    {eRegistryHive::CurrentUser, eRegistryView::Bits64},
};

}  // namespace

std::string LookUpHistoryPattern(IRegistryReader& registry, ISystemFolders& folders) {
    for (const sKeyPlace& place : kKeyOrder) {
        if (const std::optional<std::string> installDir =
                registry.ReadString(place.hive, place.view, kPkrRegistryKey, kPkrInstallValue)) {
            return FitInstallDirBuffer(*installDir) + kHistoryPatternSuffix;
        }
    }
    // A 32-bit client on a 64-bit Windows installs into the 32-bit program files folder.
    if (const std::optional<std::string> programFiles = folders.ProgramFilesX86()) {
        std::string install = *programFiles;
        if (!install.empty() && install.back() != '\\') {
            install += '\\';
        }
        install += kPkrFolderName;
        if (folders.IsReadableFolder(install)) {
            return install + kHistoryPatternSuffix;
        }
    }
    return kDefaultHistoryPattern;
}

std::string HistoryFolderFromPattern(std::string_view pattern) {
    constexpr std::string_view kWildcard = "\\*.*";
    if (pattern.ends_with(kWildcard)) {
        pattern.remove_suffix(kWildcard.size());
    }
    return std::string(pattern);
}
