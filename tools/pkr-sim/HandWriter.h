// Renders a played hand as PKR hand history text (CRLF line ends), in the earlier format
// ("End Of Hand #", "Blinds are now $1/$2") or the later one ("End of Hand #",
// "Blinds are now $1 / $2", spaced cards, "Pot sizes" lines).
#pragma once

#include <string>

#include "HandRecord.h"
#include "PlayerPool.h"
#include "TableConfig.h"

namespace pkrsim {

void AppendHandText(std::string& out, const sTableConfig& table, const sHandRecord& hand,
                    const CPlayerPool& pool, bool laterFormat);

}  // namespace pkrsim
