#include "config/settings.h"

SaverSettings saverSettings;
