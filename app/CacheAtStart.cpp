#include "app/CacheAtStart.h"

#include "history/StatsStore.h"

namespace {

constexpr const char* kNotSaved =
    "It has been left as it is. The statistics of this session will not be saved to it.";

std::string Quoted(const std::string& fileName) {
    return "The statistics file\n\n" + fileName + "\n\n";
}

}  // namespace

sCacheAtStart CacheAtStart(const sCacheLoadOutcome& outcome, const std::string& fileName,
                           uint64_t revision) {
    sCacheAtStart start;
    start.revision = revision;
    switch (outcome.result) {
        case eCacheLoad::Loaded:
        case eCacheLoad::NotOpened:
            break;
        case eCacheLoad::Unreadable:
            start.mayBeWritten = false;
            start.message = Quoted(fileName) + "could not be read: " + outcome.error.message() +
                            ".\n\n" + kNotSaved;
            break;
        case eCacheLoad::Rejected:
            if (outcome.setAsideAs.empty()) {
                start.mayBeWritten = false;
                start.message = Quoted(fileName) + "is damaged and could not be set aside" +
                                (outcome.error ? ": " + outcome.error.message() : "") + ".\n\n" +
                                kNotSaved;
            } else {
                start.message = Quoted(fileName) + "is damaged. It has been kept as\n\n" +
                                outcome.setAsideAs +
                                "\n\nand the hand history is read again from the start.";
            }
            break;
    }
    return start;
}

bool SaveCacheAtExit(const sCacheAtStart& start, const CStatsStore& store) {
    return start.mayBeWritten && store.Revision() != start.revision &&
           !store.CountedHands().empty() && store.PlayerCount() > 0;
}
