#include "overlay/InfoPanelText.h"

#include <charconv>

#include "LanternquillVersion.h"

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
