// The system's folders for the portable logic: the known folder of 32-bit programs and a folder
// check, both in UTF-16.
#pragma once

#include "platform/SystemFolders.h"

class CWin32SystemFolders final : public ISystemFolders {
public:
    std::optional<std::string> ProgramFilesX86() override;
    bool IsReadableFolder(const std::string& path) override;
};
