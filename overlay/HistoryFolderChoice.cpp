#include "overlay/HistoryFolderChoice.h"

#include <algorithm>
#include <utility>

namespace {

bool IsContinuationByte(char c) noexcept {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

bool IsControlCharacter(char c) noexcept {
    return static_cast<unsigned char>(c) < 0x20U || c == '\x7F';
}

// `text` made safe to show: control characters as blanks, and, past `limit` bytes, cut at a
// character boundary and ended with "...".
std::string ShownText(std::string_view text, std::size_t limit) {
    std::string shown(text.substr(0, std::min(text.size(), limit)));
    if (text.size() > limit) {
        while (!shown.empty() && IsContinuationByte(text[shown.size()])) {
            shown.pop_back();
        }
        shown += "...";
    }
    std::replace_if(shown.begin(), shown.end(), IsControlCharacter, ' ');
    return shown;
}

}  // namespace

sHistoryFolder HistoryFolderInUse(std::string_view chosen, const std::string& clientFolder,
                                  ISystemFolders& folders) {
    if (chosen.empty()) {
        return {clientFolder, folders.IsReadableFolder(clientFolder) ? eFolderState::Found
                                                                     : eFolderState::NotFound};
    }
    const bool usable = chosen.size() <= kMaxHistoryFolderBytes &&
                        std::none_of(chosen.begin(), chosen.end(), IsControlCharacter);
    if (!usable) {
        return {ShownText(chosen, kShownFolderBytes), eFolderState::NotFound};
    }
    std::string folder(chosen);
    const eFolderState state =
        folders.IsReadableFolder(folder) ? eFolderState::Found : eFolderState::NotFound;
    return {std::move(folder), state};
}

std::string HistoryFolderText(const sHistoryFolder& folder) {
    return folder.m_state == eFolderState::NotFound ? folder.m_strPath + " (not found)"
                                                    : folder.m_strPath;
}

std::string HistoryFolderLine(const sHistoryFolder& folder) {
    return "Hand history folder: " + HistoryFolderText(folder);
}
