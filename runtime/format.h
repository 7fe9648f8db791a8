// Small conversions the game needs: float truncation and decimal text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Drops the fraction whatever the rounding mode; NaN and values outside int32 give -2^31.
int32_t TruncToInt(float value);
// Like "%ld": a minus sign for negatives, no leading zeros, no padding.
std::string FormatDecimal(int32_t value);
// The pieces of a list such as "a:b::c" split at `separator`, empty pieces kept.
std::vector<std::string> SplitList(std::string_view text, char separator);
