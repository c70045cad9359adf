#include "LiveSimulation.h"

#include <chrono>
#include <thread>

#include "SimCorpus.h"

namespace pkrsim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWriteAttempts = 40;
constexpr auto kWriteRetryPause = std::chrono::milliseconds(25);

void Pause(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

// Writes the pending text, retrying while the file cannot be opened (on Windows a reader that
// opened it without sharing keeps writers out until it closes it).
bool FlushWithRetry(sTableRun& run) {
    for (int attempt = 1;; ++attempt) {
        if (Flush(run)) {
            return true;
        }
        if (attempt == kWriteAttempts) {
            return false;
        }
        std::this_thread::sleep_for(kWriteRetryPause);
    }
}

// Where the first of a hand's two writes ends: after the first line end in its second half.
size_t FirstPartLength(const std::string& hand) {
    const size_t lineEnd = hand.find('\n', hand.size() / 2);
    return lineEnd == std::string::npos || lineEnd + 1 >= hand.size() ? hand.size() : lineEnd + 1;
}

class CLiveWriter {
public:
    CLiveWriter(const sSimOptions& options, const sLiveObserver& observer)
        : m_options(options), m_observer(observer), m_start(Clock::now()) {}

    [[nodiscard]] bool TimeIsUp() const {
        return m_options.liveSeconds > 0 &&
               Clock::now() - m_start >= std::chrono::seconds(m_options.liveSeconds);
    }

    // Writes the hand just played at `run` (all of run.pending) in two steps.
    bool WriteHand(sTableRun& run) {
        std::string second = run.pending.substr(FirstPartLength(run.pending));
        run.pending.resize(run.pending.size() - second.size());
        const bool twoSteps = !second.empty();
        const int firstPause = twoSteps ? m_options.paceMs / 2 : 0;
        if (twoSteps) {
            if (!Write(run, false)) {
                return false;
            }
            Pause(firstPause);
            run.pending = std::move(second);
        }
        if (!Write(run, true)) {
            return false;
        }
        Pause(m_options.paceMs - firstPause);
        return true;
    }

private:
    bool Write(sTableRun& run, bool handComplete) {
        if (!FlushWithRetry(run)) {
            return false;
        }
        if (m_observer.written) {
            m_observer.written(run.path, handComplete);
        }
        return true;
    }

    const sSimOptions& m_options;
    const sLiveObserver& m_observer;
    Clock::time_point m_start;
};

}  // namespace

bool RunLiveSimulation(const sSimOptions& options, sSimResult& result, std::string& error,
                       const sLiveObserver& observer) {
    if (!BeginRun(options, result, error)) {
        return false;
    }
    CCorpus corpus(options, StartOfDay(options));
    if (!SetUpTables(options, corpus, result, error)) {
        return false;
    }
    // Every table's file exists (empty) before the first hand, as in the batch mode.
    for (auto& run : corpus.Tables()) {
        if (!FlushWithRetry(*run)) {
            error = "cannot write " + run->path;
            return false;
        }
    }
    if (observer.started) {
        observer.started(result.files);
    }

    // The same order of play as the batch mode, so the files hold the same bytes.
    CLiveWriter writer(options, observer);
    auto& tables = corpus.Tables();
    for (bool more = true; more && !writer.TimeIsUp();) {
        more = false;
        for (auto& run : tables) {
            if (run->handsLeft <= 0) {
                continue;
            }
            if (writer.TimeIsUp()) {
                more = false;
                break;
            }
            corpus.PlayHand(*run);
            ++result.handsWritten;
            more = more || run->handsLeft > 0;
            if (!writer.WriteHand(*run)) {
                error = "cannot write " + run->path;
                return false;
            }
        }
    }
    return WriteExpectedCounters(options, corpus, result, error);
}

}  // namespace pkrsim
