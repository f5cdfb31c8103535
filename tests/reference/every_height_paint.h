#pragma once
// The saver screen painted as it first was, the reference for the saver's own paint:
// every height is tried with a font created for it, each character measured anew,
// and each drawn with a TextOutA of its own. For the tests and the benchmarks only.
#include "display/paint_comparison.h"

SaverScreenLayout PaintSaverScreenEveryHeight(HDC dc, int width, int height, const SaverScreen& screen,
                                              const std::function<int()>& random);
