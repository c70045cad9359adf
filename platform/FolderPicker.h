// The shell's folder picker, as the options dialog's "Browse..." asks it.
#pragma once

#include <optional>
#include <string>

class IFolderPicker {
public:
    virtual ~IFolderPicker() = default;
    // Lets the user choose a folder of the file system, opening at `start` (UTF-8; a folder that
    // does not exist opens the picker's own default). The chosen folder (UTF-8, any name), or
    // nothing when the user cancelled or the picker could not be shown.
    virtual std::optional<std::string> PickFolder(const std::string& start) = 0;
};
