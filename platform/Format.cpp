#include "platform/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform {

long long RoundHalfEven(double value) {
    double floorValue = std::floor(value);
    double fraction = value - floorValue;
    long long whole = static_cast<long long>(floorValue);
    if (fraction > 0.5) return whole + 1;
    if (fraction < 0.5) return whole;
    return (whole % 2 == 0) ? whole : whole + 1;
}

static std::string GroupThousands(const std::string& digits) {
    std::string out;
    int count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (count && count % 3 == 0) out.insert(out.begin(), ',');
        out.insert(out.begin(), *it);
        ++count;
    }
    return out;
}

std::string FormatNumber(double value, const std::string& pattern) {
    if (pattern == "0.0") {
        long long tenths = RoundHalfEven(value * 10.0);
        bool negative = tenths < 0;
        unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(tenths)
                                                : static_cast<unsigned long long>(tenths);
        std::string text = std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
        return negative ? "-" + text : text;
    }
    // "#,0" and anything else: a grouped whole number.
    long long whole = RoundHalfEven(value);
    bool negative = whole < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(whole)
                                            : static_cast<unsigned long long>(whole);
    std::string text = GroupThousands(std::to_string(magnitude));
    return negative ? "-" + text : text;
}

std::string PadNumber(long long value, int digits) {
    bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string text = std::to_string(magnitude);
    if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
    return negative ? "-" + text : text;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string LowerCase(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace platform
