// Conversions between settings text and values. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

namespace common {

// "True"/"False" as stored for booleans.
std::string BoolText(bool value);

// "True"/"False" (any letter case, blanks around allowed) or numeric text (non-zero
// is true); `fallback` for anything else.
bool TextToBool(const std::string& text, bool fallback);

// Decimal text (blanks around allowed, a sign, digits; a fraction rounds half to even)
// within the signed 32-bit range; `fallback` for anything else.
int32_t TextToLong(const std::string& text, int32_t fallback);

// A REG_DWORD written out: decimal with at least three digits ("007", "1234").
std::string DwordText(unsigned long value);

}  // namespace common
