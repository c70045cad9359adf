#include <windows.h>

#include <shellapi.h>

#include <climits>
#include <memory>

#include "platform/SystemText.h"
#include "platform/win32/Utf16.h"

namespace {

// Only valid UTF-8 is converted: a look-alike path would compare equal to nothing anyway.
std::optional<std::wstring> StrictWideFromUtf8(std::string_view utf8) {
    if (utf8.size() > static_cast<size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int inLength = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, wide.data(), length);
    return wide;
}

struct LocalFreer {
    void operator()(LPWSTR* memory) const noexcept { LocalFree(memory); }
};

}  // namespace

std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    const std::optional<std::wstring> wide = StrictWideFromUtf8(utf8);
    if (!wide) {
        return std::nullopt;
    }
    if (GetACP() == CP_UTF8) {
        // A system set to UTF-8 as its ANSI code page stores the text as it is.
        return std::string(utf8);
    }
    // No best fit: "ł" must not come back as "l", the name of another file.
    const int inLength = static_cast<int>(wide->size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), inLength,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault != FALSE) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), inLength, text.data(), length,
                        nullptr, &usedDefault);
    if (usedDefault != FALSE) {
        return std::nullopt;
    }
    return text;
}

std::string SystemCodePageToUtf8(std::string_view text) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) {
        return {};
    }
    const int inLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), inLength, wide.data(), length);
    return Utf8FromWide(wide);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> words(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    if (!words) {
        // Out of memory: the ANSI arguments are better than none.
        for (int i = 1; i < argc && argv != nullptr; ++i) {
            arguments.push_back(SystemCodePageToUtf8(argv[i]));
        }
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8FromWide(words.get()[i]));
    }
    return arguments;
}
