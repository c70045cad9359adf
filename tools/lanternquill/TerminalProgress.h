// A one-line progress bar on the terminal for the import's folder scan and parsing. It draws
// only when standard error is a terminal, so redirected output stays clean.
#pragma once

#include <ostream>
#include <string>

#include "history/Progress.h"

class CTerminalProgress final : public IProgressSink {
public:
    // Draws to `out` when `enabled`; otherwise every call does nothing.
    CTerminalProgress(std::ostream& out, bool enabled) : m_out(out), m_bEnabled(enabled) {}
    ~CTerminalProgress() override { Clear(); }
    CTerminalProgress(const CTerminalProgress&) = delete;
    CTerminalProgress& operator=(const CTerminalProgress&) = delete;

    // Starts a new stage: the label is shown before the bar.
    void SetLabel(std::string label);
    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    // Removes the bar from the line.
    void Clear();

private:
    void Draw();

    std::ostream& m_out;
    bool m_bEnabled;
    std::string m_strLabel;
    int m_nLow = 0;
    int m_nHigh = 100;
    int m_nPos = 0;
    int m_nShownPercent = -1;  // what the line shows now; -1 when nothing is drawn
};

// True when standard error is a terminal (console) rather than a file or pipe.
[[nodiscard]] bool StderrIsTerminal() noexcept;
