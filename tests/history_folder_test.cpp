// The hand history folder the player chooses: how the stored choice is checked before the system
// sees it, how the options dialog's logic keeps and stores it, and how the information panel
// names it in its rich text.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "overlay/HistoryFolderChoice.h"
#include "overlay/InfoPanelText.h"
#include "overlay/OptionsLogic.h"
#include "overlay/SettingsStore.h"

namespace {

// Folders that exist are listed; every question is recorded.
struct sFakeFolders final : ISystemFolders {
    std::set<std::string> m_readable;
    std::vector<std::string> m_asked;
    std::optional<std::string> ProgramFilesX86() override { return std::nullopt; }
    bool IsReadableFolder(const std::string& path) override {
        m_asked.push_back(path);
        return m_readable.contains(path);
    }
};

TEST(HistoryFolderInUse, TheChoiceWhenThereIsOneElseTheClientsFolder) {
    sFakeFolders folders;
    folders.m_readable = {"C:\\PKR\\handhistory", "E:\\archive"};
    const sHistoryFolder client = HistoryFolderInUse("", "C:\\PKR\\handhistory", folders);
    EXPECT_EQ(client.m_strPath, "C:\\PKR\\handhistory");
    EXPECT_EQ(client.m_state, eFolderState::Found);
    const sHistoryFolder chosen =
        HistoryFolderInUse("E:\\archive", "C:\\PKR\\handhistory", folders);
    EXPECT_EQ(chosen.m_strPath, "E:\\archive");
    EXPECT_EQ(chosen.m_state, eFolderState::Found);
    // A chosen folder that is gone is reported, not replaced by the client's.
    const sHistoryFolder gone = HistoryFolderInUse("F:\\gone", "C:\\PKR\\handhistory", folders);
    EXPECT_EQ(gone.m_strPath, "F:\\gone");
    EXPECT_EQ(gone.m_state, eFolderState::NotFound);
    EXPECT_EQ(HistoryFolderInUse("", "D:\\PKR\\handhistory", folders).m_state,
              eFolderState::NotFound);

    EXPECT_EQ(HistoryFolderLine(chosen), "Hand history folder: E:\\archive");
    EXPECT_EQ(HistoryFolderLine(gone), "Hand history folder: F:\\gone (not found)");
    EXPECT_EQ(HistoryFolderText(gone), "F:\\gone (not found)");
}

TEST(HistoryFolderInUse, AStoredTextNoFolderCanHaveIsNeverHandedToTheSystem) {
    sFakeFolders folders;
    // The longest text a path may have is still asked about; one byte more is not.
    const std::string longest(kMaxHistoryFolderBytes, 'x');
    EXPECT_EQ(HistoryFolderInUse(longest, "C:\\PKR", folders).m_strPath, longest);
    EXPECT_EQ(folders.m_asked, std::vector<std::string>{longest});
    folders.m_asked.clear();
    folders.m_readable = {longest + "y"};
    const sHistoryFolder tooLong = HistoryFolderInUse(longest + "y", "C:\\PKR", folders);
    EXPECT_EQ(tooLong.m_state, eFolderState::NotFound);
    EXPECT_EQ(tooLong.m_strPath, std::string(kShownFolderBytes, 'x') + "...");

    // Cut where a character begins, so the text shown stays valid UTF-8.
    std::string accented(kShownFolderBytes - 1, 'a');
    for (int n = 0; n < 20000; ++n) {
        accented += "\xC3\xA9";  // é
    }
    const sHistoryFolder cut = HistoryFolderInUse(accented, "C:\\PKR", folders);
    EXPECT_EQ(cut.m_strPath, std::string(kShownFolderBytes - 1, 'a') + "...");

    // Line breaks and other control characters belong to no folder name.
    const sHistoryFolder broken = HistoryFolderInUse("C:\\a\nb\tc\x7F", "C:\\PKR", folders);
    EXPECT_EQ(broken.m_state, eFolderState::NotFound);
    EXPECT_EQ(broken.m_strPath, "C:\\a b c ");
    EXPECT_TRUE(folders.m_asked.empty());
}

// Hands out the folders queued, then nothing (a cancelled picker); records where it opened.
struct sFakePicker final : IFolderPicker {
    std::vector<std::optional<std::string>> m_answers;
    std::vector<std::string> m_starts;
    std::optional<std::string> PickFolder(const std::string& start) override {
        m_starts.push_back(start);
        if (m_answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = m_answers.front();
        m_answers.erase(m_answers.begin());
        return answer;
    }
};

TEST(OptionsHistoryFolder, BrowseTakesThePickedFolderAndACancelKeepsTheChoice) {
    sFakePicker picker;
    picker.m_answers = {"D:\\Jürgen\\история", std::nullopt, "D:\\Jürgen\\история", ""};
    std::string chosen;
    EXPECT_TRUE(BrowseForHistoryFolder(chosen, picker, "C:\\PKR\\handhistory"));
    EXPECT_EQ(chosen, "D:\\Jürgen\\история");
    EXPECT_FALSE(BrowseForHistoryFolder(chosen, picker, chosen));  // cancelled
    EXPECT_FALSE(BrowseForHistoryFolder(chosen, picker, chosen));  // the same folder again
    EXPECT_FALSE(BrowseForHistoryFolder(chosen, picker, chosen));  // nothing usable picked
    EXPECT_EQ(chosen, "D:\\Jürgen\\история");
    EXPECT_EQ(picker.m_starts,
              (std::vector<std::string>{"C:\\PKR\\handhistory", "D:\\Jürgen\\история",
                                        "D:\\Jürgen\\история", "D:\\Jürgen\\история"}));
}

TEST(OptionsHistoryFolder, OkStoresAChangedFolderAsTextAndReloadsOnlyThen) {
    CMemorySettingsStore store;
    sSettings settings;
    ReadAllSettings(store, settings);
    EXPECT_EQ(settings.HistoryFolder, "");

    // Nothing chosen, nothing changed: no value is made and nothing is reloaded.
    sOptionsState state = OptionsInitialState(settings);
    EXPECT_FALSE(ApplyOptionsOk(state, settings, store).m_bReloadHistory);
    EXPECT_TRUE(store.m_aStringWrites.empty());

    state.m_strHistoryFolder = "E:\\archive";
    EXPECT_TRUE(ApplyOptionsOk(state, settings, store).m_bReloadHistory);
    EXPECT_EQ(settings.HistoryFolder, "E:\\archive");
    EXPECT_EQ(store.ReadString("Options", "HistoryFolder"), "E:\\archive");

    // The next start reads it back; OK with it unchanged writes it no more.
    sSettings next;
    ReadAllSettings(store, next);
    EXPECT_EQ(next.HistoryFolder, "E:\\archive");
    state = OptionsInitialState(next);
    EXPECT_EQ(state.m_strHistoryFolder, "E:\\archive");
    EXPECT_FALSE(ApplyOptionsOk(state, next, store).m_bReloadHistory);
    EXPECT_EQ(store.m_aStringWrites.size(), 1u);

    // Back to the client's folder: an empty text, and a reload.
    state.m_strHistoryFolder.clear();
    EXPECT_TRUE(ApplyOptionsOk(state, next, store).m_bReloadHistory);
    EXPECT_EQ(store.ReadString("Options", "HistoryFolder"), "");
    EXPECT_EQ(next.HistoryFolder, "");
}

TEST(OptionsHistoryFolder, AStoredValueThatIsNoTextReadsAsTheClientsFolder) {
    CMemorySettingsStore store;
    store.WriteString("Options", "HistoryFolder", "E:\\archive");
    store.WriteInt("Options", "HistoryFolder", 1);  // replaces the text, as in the registry
    sSettings settings;
    settings.HistoryFolder = "left over";
    ReadAllSettings(store, settings);
    EXPECT_EQ(settings.HistoryFolder, "");
    // A text stored with a NUL inside ends there; an integer of the name is gone once a text is.
    store.WriteString("Options", "HistoryFolder", std::string("E:\\a\0b", 6));
    EXPECT_EQ(store.ReadString("Options", "HistoryFolder"), "E:\\a");
    EXPECT_EQ(store.ReadInt("Options", "HistoryFolder", -5), -5);
}

// The text of the panel's last paragraph in UTF-16, the rich text's escapes undone.
std::u16string LastParagraphText(const std::string& rtf) {
    const size_t start = rtf.rfind("\\par\r\n") + 6;
    const std::string body = rtf.substr(start, rtf.rfind("\r\n}") - start);
    static const std::regex kToken(R"(\\u(-?[0-9]+)\?|\\([\\{}])|([^\\]))");
    std::u16string units;
    for (std::sregex_iterator it(body.begin(), body.end(), kToken), end; it != end; ++it) {
        const std::smatch& token = *it;
        if (token[1].matched) {
            units += static_cast<char16_t>(std::stoi(token[1]));
        } else {
            units += static_cast<char16_t>(token[token[2].matched ? 2 : 3].str()[0]);
        }
    }
    return units;
}

TEST(InfoPanelFolderLine, NamesTheFolderAfterTheCountsInPlainAsciiRichText) {
    const sHistoryFolder folder{"C:\\{x}\\Jürgen\\история\\\xF0\x9F\x83\x8F",
                                eFolderState::NotFound};
    const std::string rtf = InfoPanelText(12, 3, folder);
    EXPECT_EQ(LastParagraphText(rtf),
              u"Hand history folder: C:\\{x}\\Jürgen\\история\\\U0001F0CF (not found)");
    // The counts' text is unchanged before it, and the braces still balance.
    const std::string counts = InfoPanelText(12, 3);
    EXPECT_EQ(rtf.substr(0, counts.size() - 1), counts.substr(0, counts.size() - 1));
    int depth = 0;
    for (const char c : rtf.substr(counts.size() - 1)) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;  // an escaped brace is text
        } else {
            depth += rtf[i] == '{' ? 1 : (rtf[i] == '}' ? -1 : 0);
        }
    }
    EXPECT_EQ(depth, 0);

    // A found folder has no remark; bytes that are no UTF-8 and control characters cannot break
    // the rich text.
    EXPECT_EQ(LastParagraphText(InfoPanelText(0, 0, {"D:\\h", eFolderState::Found})),
              u"Hand history folder: D:\\h");
    EXPECT_EQ(LastParagraphText(InfoPanelText(0, 0, {"D:\\\xFF\xC3\r\n}", eFolderState::Found})),
              u"Hand history folder: D:\\\uFFFD\uFFFD  }");
}

}  // namespace
