#include "tools/lanternquill/TextEscape.h"

#include "tools/lanternquill/TextWidth.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, std::string_view prefix, unsigned char byte) {
    out += prefix;
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

void AppendLatin1AsUtf8(std::string& out, unsigned char byte) {
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
}

}  // namespace

std::string JsonString(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (size_t pos = 0; pos < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte >= 0x80) {
            const size_t length = Utf8SequenceLength(bytes, pos);
            if (length == 0) {
                AppendLatin1AsUtf8(out, byte);
                ++pos;
            } else {
                out.append(bytes, pos, length);
                pos += length;
            }
            continue;
        }
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    AppendHexByte(out, "\\u00", byte);
                } else {
                    out += static_cast<char>(byte);
                }
        }
        ++pos;
    }
    out += '"';
    return out;
}

std::string CsvField(std::string_view bytes) {
    const bool needsQuotes = bytes.find_first_of(",\"\r\n") != std::string_view::npos ||
                             (!bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!needsQuotes) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (const char c : bytes) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string PrintableText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendHexByte(out, "\\x", byte);
        } else {
            out += c;
        }
    }
    return out;
}
