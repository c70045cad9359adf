#include "tools/lanternquill/ImportFiles.h"

#include <algorithm>
#include <iterator>

#include "history/FileImport.h"
#include "history/StatsStore.h"
#include "hud/StatFormulas.h"

void AddTally(sImportTally& total, sImportTally&& part) {
    total.importedFiles += part.importedFiles;
    total.skippedFiles += part.skippedFiles;
    total.unreadFiles.insert(total.unreadFiles.end(),
                             std::make_move_iterator(part.unreadFiles.begin()),
                             std::make_move_iterator(part.unreadFiles.end()));
}

sImportTally ImportHistoryFiles(CStatsStore& store, const std::vector<sModifiedFileInfo>& files,
                                int64_t readStart, IProgressSink* progress) {
    const int count = static_cast<int>(std::min<size_t>(files.size(), 0x7FFFFFFF));
    if (progress != nullptr) {
        progress->SetRange(0, count);
        progress->SetPos(0);
    }
    sImportTally tally;
    std::string text;
    for (int i = 0; i < count; ++i) {
        const sModifiedFileInfo& file = files[static_cast<size_t>(i)];
        const size_t handsBefore = store.CountedHands().size();
        if (!ImportFoundFile(store, file, readStart, text)) {
            tally.unreadFiles.push_back(file);
        }
        if (store.CountedHands().size() > handsBefore) {
            ++tally.importedFiles;
        } else {
            ++tally.skippedFiles;
        }
        if (progress != nullptr) {
            progress->SetPos(i + 1);
        }
    }
    return tally;
}

std::string CountText(uint64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string ImportSummary(const sImportFigures& figures) {
    const double handsPerSecond =
        figures.seconds > 0.0 ? static_cast<double>(figures.newHands) / figures.seconds : 0.0;
    std::string text =
        "Imported " + CountText(figures.tally.importedFiles, "file") + ": " +
        CountText(figures.newHands, "new hand") + ", " +
        CountText(static_cast<uint64_t>(std::max<int64_t>(figures.players, 0)), "player") + " (" +
        std::to_string(figures.newPlayers) + " new) in " +
        FormatFixed(static_cast<float>(figures.seconds), 3) + " s (" +
        FormatFixed(static_cast<float>(handsPerSecond), 0) + " hands/s)\n";
    if (figures.tally.skippedFiles > 0) {
        text += CountText(figures.tally.skippedFiles, "file") +
                (figures.tally.skippedFiles == 1 ? " was" : " were") +
                " read without a new hand and not counted as imported\n";
    }
    return text;
}
