// The application icon: a lit lantern on a rounded navy tile with the panels' blue-violet frame.
// The drawing is described in unit coordinates and sampled, so every icon size comes from the
// same description.
#pragma once

#include "tools/make-panels/Raster.h"

sRgbaPicture DrawIcon(int size);
