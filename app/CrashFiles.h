// Claims the names of a crash's report and minidump: a pair that no file has yet, so that a crash
// never replaces an earlier crash's report, nor any other file. The files are created through an
// ICrashFileCreator, which creates a file only when no file has its name.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/CrashReport.h"

class ICrashFileCreator {
public:
    enum class eResult { Created, Exists, Failed };

    virtual ~ICrashFileCreator() = default;

    // Creates the file of that kind under `name` in the report's folder, only when no file has
    // that name; the creator keeps the file open.
    virtual eResult CreateNew(eCrashFile kind, std::string_view name) noexcept = 0;
    // Removes the file of that kind this creator created.
    virtual void Remove(eCrashFile kind) noexcept = 0;
};

// The names tried for one crash: the time's own, then with -2, -3 ... up to this attempt.
inline constexpr unsigned kCrashNameAttempts = 100;

struct sCrashClaim {
    unsigned attempt = 0;  // the attempt whose names were claimed; 0 when no report was created
    bool dumpCreated = false;
};

// Creates the report under the first name of CrashFileName's attempts that is free for both the
// report and the dump, and the dump beside it. A report name in use is skipped; a free report name
// whose dump name is in use is given back (the report just created is removed) and the next
// attempt tried. A report that cannot be created for another reason (a folder that may not be
// written) ends the claim: every other name would fail the same way. A dump that cannot be created
// for another reason leaves the report claimed, and dumpCreated false.
[[nodiscard]] sCrashClaim ClaimCrashFiles(const sCrashTime& utc, ICrashFileCreator& files) noexcept;
