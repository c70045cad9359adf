#include "overlay/Settings.h"

sSettings g_settings;
