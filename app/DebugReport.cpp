#include "app/DebugReport.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "LanternquillVersion.h"

#include "app/StartupLogic.h"
#include "platform/FileIo.h"
#include "platform/LocalTime.h"

namespace {

void AppendFormatted(std::string& out, const char* format, auto... values) {
    char buffer[160];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    if (length > 0) {
        out.append(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
    }
}

}  // namespace

std::string DebugReportHeader(const std::tm& localTime, int screenWidth, int screenHeight,
                              uint64_t screenContext, std::string_view historyFolderLine) {
    std::string header = "Lanternquill V" LQ_VERSION_TEXT " Debug Report\n";
    char date[128];
    // Day and month names come from the "C" locale the program runs in: English names.
    const size_t length = std::strftime(date, sizeof date, "%A, %B %d, %Y, %H:%M:%S", &localTime);
    header.append(date, length);
    header += "\n\n";
    AppendFormatted(header, "ScreenX = %d, ScreenY = %d\n", screenWidth, screenHeight);
    // Eight hex digits as in a 32-bit handle; a wider value keeps all its digits.
    AppendFormatted(header, "hDesktopDC = %08" PRIx64 "\n\n", screenContext);
    header.append(historyFolderLine).append("\n\n");
    header += "Autoswitch scan\n";
    return header;
}

void AppendSampleRow(std::string& log, int zoneIndex, int64_t y) {
    AppendFormatted(log, "Zone %d, y = %" PRId64 ", ", zoneIndex, y);
}

void AppendSamplePixels(std::string& log, uint32_t left, uint32_t centre, uint32_t right) {
    AppendFormatted(log, "%08" PRIx32 ", %08" PRIx32 ", %08" PRIx32 "\n", left, centre, right);
}

void AppendZoneEnd(std::string& log, int whiteCount) {
    AppendFormatted(log, "WhiteCount = %d\n\n", whiteCount);
}

std::tm LocalTimeNow() {
    return LocalCalendarTime(std::time(nullptr));
}

bool CompleteDebugReport(CDebugReport& report, IShellOpener& shell, const std::string& path) {
    if (!report.TakeRequest()) {
        return false;
    }
    // Text mode: on Windows every "\n" is written as the platform's line end.
    std::FILE* file = OpenFileUtf8(path, "w");
    if (file == nullptr) {
        return false;
    }
    const std::string& text = report.Text();
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        return false;
    }
    shell.Open(path, std::string(), false);
    return true;
}
