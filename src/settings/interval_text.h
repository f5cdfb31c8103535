#pragma once
// Reading an interval typed into the settings dialog.

// Typed values are taken as they are; text that is not a number gives 0. A number too
// large for an int is held at INT_MAX: wrapping it would store a negative interval, which
// the next start reads as 1 instead of the largest interval. Never negative.
int IntervalFromText(const char* text);
