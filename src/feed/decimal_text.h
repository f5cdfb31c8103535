#pragma once
// Reads numbers the way the configuration file's integers are read: leading
// white space skipped, an optional sign, then digits up to the first
// non-digit; no digits read as 0. Unlike atoi, a value beyond the range of
// int saturates at INT_MAX or INT_MIN instead of being undefined.
int ReadDecimal(const char* text);
