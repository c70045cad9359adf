#include "history/ByteSearch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "history/TextSearch.h"
#include "tests/TestSupport.h"

namespace {

// Plain answers to compare the vectorised searches with.
const char* ReferenceFindByte(const char* first, const char* last, char c) {
    for (; first < last; ++first) {
        if (*first == c) {
            return first;
        }
    }
    return nullptr;
}

size_t ReferenceFindIn(std::string_view text, std::string_view needle, size_t from, size_t to) {
    to = std::min(to, text.size());
    for (size_t pos = from; pos + needle.size() <= to; ++pos) {
        if (text.substr(pos, needle.size()) == needle) {
            return pos;
        }
    }
    return kNotFound;
}

// Text over a small alphabet, so that anchors and near-misses are everywhere.
std::string RandomText(std::mt19937& random, size_t length, std::string_view alphabet) {
    std::string text(length, ' ');
    for (char& c : text) {
        c = alphabet[random() % alphabet.size()];
    }
    return text;
}

}  // namespace

TEST(ByteSearch, FindByteAgreesWithAPlainLoopAtEveryLengthAndAlignment) {
    std::mt19937 random(11);
    // Every alignment of the start, inside an ordinary buffer: the answers.
    for (size_t length = 0; length <= 200; ++length) {
        for (size_t offset = 0; offset < 16; ++offset) {
            std::string buffer = RandomText(random, offset + length + 16, "abcdefgh");
            const char* first = buffer.data() + offset;
            const char* last = first + length;
            for (char c : std::string_view("ah\0z", 4)) {
                ASSERT_EQ(bytesearch::FindByte(first, last, c), ReferenceFindByte(first, last, c))
                    << length << " " << offset << " " << int{c};
            }
            // The only hit is the last byte, or the byte just past the range (not a hit).
            if (length > 0) {
                std::fill(buffer.begin(), buffer.end(), 'x');
                buffer[offset + length - 1] = '#';
                EXPECT_EQ(bytesearch::FindByte(first, last, '#'), last - 1) << length;
                buffer[offset + length - 1] = 'x';
                buffer[offset + length] = '#';
                EXPECT_EQ(bytesearch::FindByte(first, last, '#'), nullptr) << length;
            }
        }
    }
}

TEST(ByteSearch, SearchesNeverReadOutsideTheirRange) {
    // Each range ends where unreadable memory begins, or begins where it ends: a read of one byte
    // past either end faults (spare bytes of the same allocation would go unnoticed, by the
    // sanitizers too). Lengths up to 200 give the start every alignment.
    std::mt19937 random(14);
    const testing_support::GuardedBytes memory(4096);
    for (size_t length = 0; length <= 200; ++length) {
        const std::string text = RandomText(random, length, "abcdefgh");
        for (const char* first : {static_cast<const char*>(memory.PutAtEnd(text)),
                                  static_cast<const char*>(memory.PutAtBegin(text))}) {
            const char* last = first + length;
            for (char c : std::string_view("ah\0z", 4)) {
                ASSERT_EQ(bytesearch::FindByte(first, last, c), ReferenceFindByte(first, last, c))
                    << length << " " << int{c};
            }
            const std::string_view view(first, length);
            for (std::string_view needle : {"a", "ab", "hgfedcba", "abcdefghabcdefgh#"}) {
                for (size_t anchor = 0; anchor < needle.size(); anchor += 3) {
                    ASSERT_EQ(FindIn(view, needle, 0, length, anchor),
                              ReferenceFindIn(view, needle, 0, length))
                        << length << " '" << needle << "' " << anchor;
                }
            }
            // The needle as the range's very last bytes.
            if (length >= 8) {
                const std::string_view tail = view.substr(length - 8);
                EXPECT_LE(FindIn(view, tail, 0, length, 7), length - 8);
                EXPECT_TRUE(bytesearch::BytesEqual(first + length - 8, tail.data(), 8));
            }
            EXPECT_TRUE(bytesearch::BytesEqual(first, text.data(), length));
        }
    }
}

TEST(ByteSearch, MatchesAtTheEndAndAcrossSixteenByteBlocksAreFound) {
    const std::string needle = "Starting Hand #";
    for (size_t before = 0; before < 48; ++before) {
        for (size_t after = 0; after < 3; ++after) {
            // Near-misses in front (the anchor byte without the rest) keep the filter busy.
            std::string text(before, '#');
            text += needle + std::string(after, 'x');
            const size_t to = text.size();
            EXPECT_EQ(FindIn(text, needle, 0, to, 14), before) << before << " " << after;
            EXPECT_EQ(FindIn(text, needle, 0, to, 0), before) << before << " " << after;
            // Cut one byte short of the match: nothing.
            EXPECT_EQ(FindIn(text, needle, 0, before + needle.size() - 1, 14), kNotFound);
            EXPECT_EQ(FindIn(text, needle, before + 1, to, 14), kNotFound);
        }
    }
}

TEST(ByteSearch, BytesEqualAgreesWithStringComparison) {
    std::mt19937 random(13);
    for (int round = 0; round < 5000; ++round) {
        const size_t length = random() % 40;
        const std::string a = RandomText(random, length, "ab");
        std::string b = a;
        if (length > 0 && random() % 2 == 0) {
            b[random() % length] ^= 1;
        }
        ASSERT_EQ(bytesearch::BytesEqual(a.data(), b.data(), length), a == b) << a << " " << b;
    }
}
