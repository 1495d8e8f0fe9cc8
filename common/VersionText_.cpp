#include "common/VersionText_.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Format.h"

namespace common {

std::string VersionText(int major, int minor, int revision) {
    std::string digits = platform::PadNumber(revision, 4);
    int a = std::stoi(digits.substr(0, digits.size() - 2));
    int b = std::stoi(digits.substr(digits.size() - 2));
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(a) + "." + std::to_string(b);
}

std::string VersionLabel(int major, int minor, int revision) {
    std::string text = std::to_string(major) + "." + std::to_string(minor);
    const int high = std::atoi(platform::PadNumber(revision, 4).substr(0, 2).c_str());
    if (high != 0) {
        text += '.';
        text += std::to_string(high);
    }
    return text;
}

std::string RevisionToolTip(int revision) {
    const std::string digits = platform::PadNumber(revision, 4);
    const int low = std::atoi(digits.substr(digits.size() - 2).c_str());
    return low == 0 ? std::string() : "Revision " + std::to_string(low);
}

std::string AboutText(const std::string& title, int major, int minor, int revision, const std::string& legalNotice) {
    const char* crlf = "\r\n";
    return title + crlf + "Version " + VersionText(major, minor, revision) + crlf + legalNotice + crlf + crlf +
           "Web:  " + kSuiteWebAddress + crlf + "E-mail:  Please check web site.";
}

std::string WindowsVersionText(bool queried, unsigned long major, unsigned long minor, unsigned long platformId) {
    if (!queried) return "";
    // The number is major + "." + minor read as a decimal, held in single precision.
    std::string decimal = std::to_string(major) + "." + std::to_string(minor);
    float number = std::stof(decimal);
    std::string text = platform::FormatNumber(number, "0.0");
    switch (platformId) {
        case 0: return "32s " + text;
        case 1: return "9x " + text;
        case 2: return "NT " + text;
        default: return "";
    }
}

std::string WindowsTypeFromVersion(const std::string& versionText) {
    return platform::Trim(versionText.substr(0, 3));
}

}  // namespace common
