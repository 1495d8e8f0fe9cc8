// Number formatting as the programs show numbers. Portable: no Windows headers.
#pragma once
#include <string>

namespace platform {

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
long long RoundHalfEven(double value);

// Formats with a pattern of the two kinds the programs use:
// "#,0" (thousands separators, no decimals) and "0.0" (exactly one decimal).
// Rounding is half to even at the last digit shown.
std::string FormatNumber(double value, const std::string& pattern);

// Decimal text with at least `digits` digits, zero-padded ("05" for 5, 2).
std::string PadNumber(long long value, int digits);

// Leading and trailing blanks removed (spaces only).
std::string Trim(const std::string& text);

// ASCII lower case.
std::string LowerCase(const std::string& text);

}  // namespace platform
