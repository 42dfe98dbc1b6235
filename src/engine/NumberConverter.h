#pragma once

#include <cstdint>

// Value of a string of digits in base 2, 8, 10 or 16 (0 for any other base).
// The digits are not validated; the value saturates at 4294967295.
uint32_t NumberConverter(const char* lpszDigits, int nBase);
