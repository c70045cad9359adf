#include "tools/lanternquill/TerminalProgress.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "tools/lanternquill/TextEscape.h"
#include "tools/lanternquill/TextWidth.h"

namespace {

constexpr size_t kLabelWidth = 32;
constexpr int kBarWidth = 30;
// Label, bar and percentage; the line is cleared with this many blanks.
constexpr size_t kLineWidth = kLabelWidth + kBarWidth + 10;

// The label cut or padded to a fixed width, so the bar does not move between stages.
// Folder names may hold wide characters: the label is measured in terminal columns and cut
// between characters, keeping its end (the folder's own name).
std::string FittedLabel(const std::string& label) {
    std::string text = FitToWidth(PrintableText(label), kLabelWidth, eKeep::End);
    text.append(kLabelWidth - DisplayWidth(text), ' ');
    return text;
}

}  // namespace

void CTerminalProgress::SetLabel(std::string label) {
    m_strLabel = std::move(label);
    m_nPos = m_nLow;
    m_nShownPercent = -1;
    Draw();
}

void CTerminalProgress::SetRange(int low, int high) {
    m_nLow = low;
    m_nHigh = high;
    Draw();
}

void CTerminalProgress::SetPos(int pos) {
    m_nPos = pos;
    Draw();
}

void CTerminalProgress::Draw() {
    if (!m_bEnabled) {
        return;
    }
    const long long span = static_cast<long long>(m_nHigh) - m_nLow;
    const long long done =
        std::clamp<long long>(static_cast<long long>(m_nPos) - m_nLow, 0, std::max(span, 0LL));
    const int percent = span > 0 ? static_cast<int>(done * 100 / span) : 0;
    // Within a stage the bar only moves forward, whatever order the positions come in; and a
    // redraw per file would slow down a large import.
    if (percent <= m_nShownPercent) {
        return;
    }
    m_nShownPercent = percent;
    const int filled = percent * kBarWidth / 100;
    std::string line = "\r" + FittedLabel(m_strLabel) + " [";
    line.append(static_cast<size_t>(filled), '#');
    line.append(static_cast<size_t>(kBarWidth - filled), '.');
    line += "] " + std::to_string(percent) + "%  ";
    m_out << line << std::flush;
}

void CTerminalProgress::Clear() {
    if (!m_bEnabled || m_nShownPercent < 0) {
        return;
    }
    m_out << '\r' << std::string(kLineWidth, ' ') << '\r' << std::flush;
    m_nShownPercent = -1;
}

bool StderrIsTerminal() noexcept {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}
