// Conversions between settings text and values. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

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

// Reads one key's text, given the key and the default's stored text.
using SettingReader = std::function<std::string(const std::string& key, const std::string& defaultText)>;

// A program's settings read key by key, each converted, with the default for a value
// that cannot be converted or lies outside its range.
class SettingsConverter {
public:
    explicit SettingsConverter(SettingReader read) : read_(std::move(read)) {}
    bool Flag(const std::string& key, bool fallback) const;
    int32_t Number(const std::string& key, int32_t fallback) const;
    int32_t Number(const std::string& key, int32_t fallback, int32_t low, int32_t high) const;
    // Blanks trimmed.
    std::string Text(const std::string& key, const std::string& fallback) const;

private:
    SettingReader read_;
};

}  // namespace common
