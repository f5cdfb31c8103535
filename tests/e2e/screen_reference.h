#pragma once
// The saver screen as our own painting code draws it, and comparisons of screenshots
// with it.
#include "display/saver_display.h"
#include "screen_capture.h"

#include <gtest/gtest.h>

#include <string>

// What our painting code draws for `screen` at y = 0 on a width x height screen: the
// title screen when it is empty.
Screenshot Reference(const SaverScreen& screen, int width, int height);
// The first row with anything not black; -1 for none.
int FirstInkRow(const Screenshot& s);
// True when `shot` is `expected` moved down by some rows, pixel for pixel. Both are
// left as display-NAME.bmp and, on a mismatch, display-NAME-expected.bmp.
::testing::AssertionResult SameTextAt(const Screenshot& shot, const Screenshot& expected, const std::string& name);
