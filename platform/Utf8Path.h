// std::filesystem paths from and to the UTF-8 text the program keeps paths in. A path built
// from a plain std::string takes the ANSI code page on Windows; these take UTF-8 everywhere.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Text that is not valid UTF-8 (which Windows cannot convert) gives an empty path, which every
// file system call then fails on.
[[nodiscard]] inline std::filesystem::path PathFromUtf8(std::string_view utf8) noexcept {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        return {};
    }
}

[[nodiscard]] inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
