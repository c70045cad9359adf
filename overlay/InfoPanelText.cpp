#include "overlay/InfoPanelText.h"

#include <charconv>

#include "LanternquillVersion.h"

#include "overlay/HistoryFolderChoice.h"

namespace {

// British English, Tahoma (f0, the default) and Arial (f1), red (cf1) and white (cf2); the
// trademark sign is \'99 in code page 1252. One \pard\qc centres every paragraph. The last
// paragraph has no \par, so the control shows exactly eight paragraphs.
constexpr std::string_view kTemplate =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
    "\\pard\\qc\\cf1\\f0\\fs28 Lanternquill\\'99 V" LQ_VERSION_TEXT
    "\\par\r\n"
    "\\cf2\\fs20\\par\r\n"
    "Lanternquill\\'99 Tracker HUD for PKR.\\par\r\n"
    "\\par\r\n"
    "ALT - Show Stat Names. SHIFT - Quick Hide Stats\\par\r\n"
    "For instructions, read README.txt in the program's folder.\\par\r\n"
    "\\par\r\n"
    "Database contains <<HANDS>> Hands on <<PLAYERS>> Players\r\n"
    "}";

template <typename Number>
std::string Decimal(Number value) {
    char digits[16];
    const auto formatted = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, formatted.ptr);
}

void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
    for (size_t pos = text.find(placeholder); pos != std::string::npos;
         pos = text.find(placeholder, pos + value.size())) {
        text.replace(pos, placeholder.size(), value);
    }
}

// One code point of UTF-8 text from `pos` on, advancing `pos`; a byte that starts no valid
// sequence is U+FFFD and takes one byte.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    constexpr char32_t kReplacement = U'\uFFFD';
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(pos);
    // The length of the sequence the lead byte starts; 0 for a byte that starts none.
    const size_t length = lead < 0x80   ? 1
                          : lead < 0xC2 ? 0
                          : lead < 0xE0 ? 2
                          : lead < 0xF0 ? 3
                          : lead < 0xF5 ? 4
                                        : 0;
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    char32_t code = length == 1 ? lead : lead & (0x7FU >> length);
    for (size_t n = 1; n < length; ++n) {
        if ((byte(pos + n) & 0xC0U) != 0x80U) {
            ++pos;
            return kReplacement;
        }
        code = (code << 6U) | (byte(pos + n) & 0x3FU);
    }
    pos += length;
    return code;
}

// A \uN escape for one UTF-16 unit (N a signed 16-bit number, as rich text reads it), with "?"
// for readers that know no Unicode.
void AppendUnicodeEscape(std::string& rtf, char16_t unit) {
    rtf += "\\u";
    rtf += Decimal(static_cast<int16_t>(unit));
    rtf += '?';
}

// UTF-8 text as rich text of plain ASCII: the marks \, { and } escaped, control characters as
// blanks, everything beyond ASCII as Unicode escapes (two for a character beyond 16 bits).
std::string RichTextOf(std::string_view text) {
    std::string rtf;
    for (size_t pos = 0; pos < text.size();) {
        const char32_t code = NextCodePoint(text, pos);
        if (code == U'\\' || code == U'{' || code == U'}') {
            rtf += '\\';
            rtf += static_cast<char>(code);
        } else if (code < 0x20 || code == 0x7F) {
            rtf += ' ';
        } else if (code < 0x80) {
            rtf += static_cast<char>(code);
        } else if (code < 0x10000) {
            AppendUnicodeEscape(rtf, static_cast<char16_t>(code));
        } else {
            const char32_t above = code - 0x10000;
            AppendUnicodeEscape(rtf, static_cast<char16_t>(0xD800 + (above >> 10U)));
            AppendUnicodeEscape(rtf, static_cast<char16_t>(0xDC00 + (above & 0x3FFU)));
        }
    }
    return rtf;
}

}  // namespace

std::string UserGuidePath(std::string_view programPath) {
    const size_t separator = programPath.find_last_of("\\/");
    std::string path(separator == std::string_view::npos ? std::string_view()
                                                         : programPath.substr(0, separator + 1));
    path += kUserGuideFileName;
    return path;
}

std::string_view InfoPanelTemplate() {
    return kTemplate;
}

std::string InfoPanelText(uint32_t hands, int32_t players) {
    std::string text(kTemplate);
    ReplaceAll(text, "<<HANDS>>", Decimal(hands));
    ReplaceAll(text, "<<PLAYERS>>", Decimal(players));
    return text;
}

std::string InfoPanelText(uint32_t hands, int32_t players, const sHistoryFolder& folder) {
    std::string text = InfoPanelText(hands, players);
    // The template ends with its last paragraph's line end and the closing brace.
    text.insert(text.rfind('}'), "\\par\r\n" + RichTextOf(HistoryFolderLine(folder)) + "\r\n");
    return text;
}
