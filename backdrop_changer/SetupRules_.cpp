#include "backdrop_changer/SetupRules_.h"

#include <cstdlib>

#include "platform/Format.h"

namespace backdrop_changer {

namespace {

// The leading number of a text, as far as it goes; 0 when there is none.
int LeadingNumber(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

}  // namespace

bool ParseColorText(const std::string& text, int& red, int& green, int& blue) {
    const size_t first = text.find(' ');
    if (first == std::string::npos) return false;
    const size_t second = text.find(' ', first + 1);
    if (second == std::string::npos) return false;
    red = LeadingNumber(text.substr(0, first));
    green = LeadingNumber(text.substr(first + 1, second - first - 1));
    blue = LeadingNumber(text.substr(second + 1));
    return true;
}

}  // namespace backdrop_changer
