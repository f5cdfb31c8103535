#include "settings/interval_text.h"

#include "feed/decimal_text.h"

#include <algorithm>

int IntervalFromText(const char* text) { return std::max(0, ReadDecimal(text)); }  // at INT_MAX for any longer number
