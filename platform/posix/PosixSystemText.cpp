// Outside Windows the file system and the hand history files share one 8-bit encoding: text
// passes through unchanged.
#include "platform/SystemText.h"

std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
    return std::string(utf8);
}

std::string SystemCodePageToUtf8(std::string_view text) {
    return std::string(text);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    if (argc <= 1 || argv == nullptr) {
        return {};
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}
