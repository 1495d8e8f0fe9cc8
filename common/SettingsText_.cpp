#include "common/SettingsText_.h"

#include <cmath>
#include <cstdlib>

#include "platform/Format.h"

namespace common {

std::string BoolText(bool value) { return value ? "True" : "False"; }

namespace {

// Parses a plain decimal number: optional sign, digits, optional fraction.
bool ParseNumber(const std::string& raw, double& number) {
    std::string text = platform::Trim(raw);
    if (text.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    bool digits = false;
    double value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
            value += (text[i] - '0') * scale;
            digits = true;
        }
    }
    if (!digits || i != text.size()) return false;
    number = negative ? -value : value;
    return true;
}

}  // namespace

bool TextToBool(const std::string& text, bool fallback) {
    std::string word = platform::LowerCase(platform::Trim(text));
    if (word == "true") return true;
    if (word == "false") return false;
    double number = 0;
    if (ParseNumber(text, number)) return number != 0;
    return fallback;
}

int32_t TextToLong(const std::string& text, int32_t fallback) {
    double number = 0;
    if (!ParseNumber(text, number) || std::fabs(number) > 4e9) return fallback;
    long long whole = platform::RoundHalfEven(number);
    if (whole < INT32_MIN || whole > INT32_MAX) return fallback;
    return static_cast<int32_t>(whole);
}

std::string DwordText(unsigned long value) { return platform::PadNumber(static_cast<long long>(value), 3); }

bool SettingsConverter::Flag(const std::string& key, bool fallback) const {
    return TextToBool(read_(key, BoolText(fallback)), fallback);
}

int32_t SettingsConverter::Number(const std::string& key, int32_t fallback) const {
    return TextToLong(read_(key, std::to_string(fallback)), fallback);
}

int32_t SettingsConverter::Number(const std::string& key, int32_t fallback, int32_t low, int32_t high) const {
    const int32_t value = Number(key, fallback);
    return value < low || value > high ? fallback : value;
}

std::string SettingsConverter::Text(const std::string& key, const std::string& fallback) const {
    return platform::Trim(read_(key, fallback));
}

}  // namespace common
