// The dense, fixed-layout statistics record of one player, as stored in the cache file.
#pragma once

#include <cstdint>

#include "history/GameTypes.h"

struct CPKR_PlayerRecord {
    int32_t m_nId = 0;
    // Flat index ((game * 11 + stake) * 3 + sizeClass) * 40 + counter.
    int32_t m_anCounters[BUCKET_COUNT * CNT_MAX] = {};
};
static_assert(sizeof(CPKR_PlayerRecord) == 10564, "the cache file stores records byte for byte");
