// Reads string values of any registry hive, in either view, for the portable logic (the PKR
// client's install folder).
#pragma once

#include "platform/RegistryReader.h"

class CWin32RegistryReader final : public IRegistryReader {
public:
    std::optional<std::string> ReadString(eRegistryHive hive, eRegistryView view,
                                          std::string_view key, std::string_view name) override;
};
