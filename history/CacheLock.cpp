#include "history/CacheLock.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Utf8Path.h"

namespace {

// How a range of lower-case letters maps to upper case: by a fixed distance, or in alternating
// pairs whose upper-case letter comes first (EvenUpper: on the even code point; OddUpper: on the
// odd one).
enum class eCaseRule { Offset, EvenUpper, OddUpper };

struct sLowerCaseRange {
    char32_t first;
    char32_t last;
    eCaseRule rule;
    int32_t offset;  // for eCaseRule::Offset
};

// The lower-case letters of the scripts players' names and folders are written in, with the
// simple upper-case mapping Windows compares file names by.
constexpr sLowerCaseRange kLowerCase[] = {
    {0x0061, 0x007A, eCaseRule::Offset, -0x20},  // a-z
    {0x00E0, 0x00F6, eCaseRule::Offset, -0x20},  // Latin-1
    {0x00F8, 0x00FE, eCaseRule::Offset, -0x20},
    {0x00FF, 0x00FF, eCaseRule::Offset, 0x79},  // y with diaeresis
    {0x0101, 0x012F, eCaseRule::EvenUpper, 0},  // Latin Extended-A
    {0x0133, 0x0137, eCaseRule::EvenUpper, 0},
    {0x013A, 0x0148, eCaseRule::OddUpper, 0},
    {0x014B, 0x0177, eCaseRule::EvenUpper, 0},
    {0x017A, 0x017E, eCaseRule::OddUpper, 0},
    {0x03AC, 0x03AC, eCaseRule::Offset, -0x26},  // Greek with tonos
    {0x03AD, 0x03AF, eCaseRule::Offset, -0x25},
    {0x03B1, 0x03C1, eCaseRule::Offset, -0x20},  // Greek
    {0x03C2, 0x03C2, eCaseRule::Offset, -0x1F},  // final sigma
    {0x03C3, 0x03CB, eCaseRule::Offset, -0x20},
    {0x03CC, 0x03CC, eCaseRule::Offset, -0x40},
    {0x03CD, 0x03CE, eCaseRule::Offset, -0x3F},
    {0x0430, 0x044F, eCaseRule::Offset, -0x20},  // Cyrillic
    {0x0450, 0x045F, eCaseRule::Offset, -0x50},
    {0x0461, 0x0481, eCaseRule::EvenUpper, 0},
    {0x048B, 0x04BF, eCaseRule::EvenUpper, 0},
    {0x04C2, 0x04CE, eCaseRule::OddUpper, 0},
    {0x04CF, 0x04CF, eCaseRule::Offset, -0x0F},
    {0x04D1, 0x052F, eCaseRule::EvenUpper, 0},
    {0x0561, 0x0586, eCaseRule::Offset, -0x30},  // Armenian
    {0x1E01, 0x1E95, eCaseRule::EvenUpper, 0},   // Latin Extended Additional
    {0x1EA1, 0x1EFF, eCaseRule::EvenUpper, 0},
    {0xFF41, 0xFF5A, eCaseRule::Offset, -0x20},  // full-width a-z
};

char32_t UpperCase(char32_t c) {
    for (const sLowerCaseRange& range : kLowerCase) {
        if (c < range.first || c > range.last) {
            continue;
        }
        switch (range.rule) {
            case eCaseRule::Offset:
                return static_cast<char32_t>(static_cast<int32_t>(c) + range.offset);
            case eCaseRule::EvenUpper:
                return (c & 1U) != 0 ? c - 1 : c;
            case eCaseRule::OddUpper:
                return (c & 1U) == 0 ? c - 1 : c;
        }
    }
    return c;
}

// Visits the code points of UTF-8 text; a byte that does not begin a valid sequence of at most
// three bytes (the letters above all lie within them) is visited on its own, as 0x110000 plus
// its value, so no such byte is confused with a letter.
template <class Visit>
void ForEachCodePoint(std::string_view text, Visit visit) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80              ? 1
                              : (lead & 0xE0U) == 0xC0 ? 2
                              : (lead & 0xF0U) == 0xE0 ? 3
                                                       : 0;
        bool valid = length > 0 && i + length <= text.size();
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1FU) : (lead & 0x0FU);
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0U) == 0x80;
            c = (c << 6U) | (next & 0x3FU);
        }
        if (valid) {
            visit(c);
            i += length;
        } else {
            visit(char32_t{0x110000} + lead);
            ++i;
        }
    }
}

// The path as Windows reads it: backslashes, no "\\?\" prefix, no empty, "." or ".." steps,
// no trailing dots or blanks on a name, no trailing separator. Letter case is left alone.
std::string NormalPath(std::string_view fullPath) {
    std::string text(fullPath);
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (text.starts_with(R"(\\?\UNC\)")) {
        text = "\\\\" + text.substr(8);
    } else if (text.starts_with(R"(\\?\)")) {
        text = text.substr(4);
    }
    std::string root;
    if (text.starts_with("\\\\")) {
        root = "\\\\";  // a share: \\server\share\...
    } else if (text.size() >= 2 && text[1] == ':') {
        root = text.substr(0, 2) + "\\";
    } else if (text.starts_with("\\")) {
        root = "\\";
    }
    std::vector<std::string> steps;
    // After the share's two backslashes or the drive's colon; the root's own separator, or a
    // drive-relative name's missing one, make no step.
    size_t start = root.size() >= 2 ? 2 : 0;
    while (start <= text.size()) {
        size_t end = text.find('\\', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string step = text.substr(start, end - start);
        start = end + 1;
        if (step == "..") {
            if (!steps.empty()) {
                steps.pop_back();
            }
            continue;
        }
        while (!step.empty() && (step.back() == '.' || step.back() == ' ')) {
            step.pop_back();
        }
        if (!step.empty()) {
            steps.push_back(std::move(step));
        }
    }
    std::string normal = root;
    for (size_t i = 0; i < steps.size(); ++i) {
        normal += (i > 0 ? "\\" : "") + steps[i];
    }
    return normal;
}

}  // namespace

std::string AbsoluteCachePath(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(fileName), error);
    if (error || path.empty()) {
        return fileName;
    }
    return Utf8FromPath(path.lexically_normal());
}

std::string CacheFolderOf(const std::string& fullPath) {
    return Utf8FromPath(PathFromUtf8(fullPath).parent_path());
}

std::string CacheLockName(std::string_view fullPath) {
    // FNV-1a over the upper-cased code points, four bytes each.
    uint64_t hash = 14695981039346656037ULL;
    ForEachCodePoint(NormalPath(fullPath), [&hash](char32_t c) {
        const char32_t upper = UpperCase(c);
        for (unsigned shift = 0; shift < 32; shift += 8) {
            hash ^= (upper >> shift) & 0xFFU;
            hash *= 1099511628211ULL;
        }
    });
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name = "Local\\Lanternquill.Cache.";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += kHex[(hash >> static_cast<unsigned>(shift)) & 0xFU];
    }
    return name;
}

sLockAttempt LockCacheFile(INamedLocks& locks, const std::string& fileName) {
    return locks.TryTake(CacheLockName(AbsoluteCachePath(fileName)));
}
