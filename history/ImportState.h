// Where the import cycle's look-back starts before anything else has set it.
#pragma once

#include <cstdint>

// 1 July 2000, 00:00:00 local time: the cut-off before anything else has set one.
int64_t InitialHistoryCutoff();
