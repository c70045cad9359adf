// The folders the system names, and whether a folder is there to be read: what the choice of
// the default hand history folder asks.
#pragma once

#include <optional>
#include <string>

class ISystemFolders {
public:
    virtual ~ISystemFolders() = default;
    // The program files folder of 32-bit programs on a 64-bit Windows (UTF-8, e.g.
    // "C:\Program Files (x86)"), or nothing when the system has none.
    virtual std::optional<std::string> ProgramFilesX86() = 0;
    // Whether `path` (UTF-8) is an existing folder whose entries can be listed.
    virtual bool IsReadableFolder(const std::string& path) = 0;
};
