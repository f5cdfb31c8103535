#pragma once
// The item's font search as first written, which the saver's own search must match:
// it tries every height from the start down. For the tests and the benchmarks only.
#include "display/text_layout.h"

// The largest height from `startHeight` down whose text fits the free height (1 at the
// least), then, from there down to three quarters of it in steps of 2, a smaller one
// that still fits, with at most one line less, and fills the last line better (a tie
// keeps the larger height). Measures every height it passes.
ItemFit FitItem(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure);
