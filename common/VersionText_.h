// Version and About texts, and the Windows family text. Portable: no Windows headers.
#pragma once
#include <string>

namespace common {

// major.minor.a.b, where a and b are the first and last two digits of the four-digit revision.
std::string VersionText(int major, int minor, int revision);

// The version label of a setup window: major.minor, and ".a" when the first two of the
// revision's four digits are not "00" (a without leading zeros).
std::string VersionLabel(int major, int minor, int revision);
// Its tooltip: "Revision " and the last two digits' value, or empty when they are "00".
std::string RevisionToolTip(int revision);

// The web address and the E-mail line of the About text.
inline constexpr const char* kSuiteWebAddress = "https://sorvita.example.org/desktop-suite";

// The six About lines joined with CR LF.
std::string AboutText(const std::string& title, int major, int minor, int revision, const std::string& legalNotice);

// "32s ", "9x " or "NT " and the version with one decimal ("9x 4.1"), or empty text
// when the query failed (`queried` false) or the platform id is unknown.
std::string WindowsVersionText(bool queried, unsigned long major, unsigned long minor, unsigned long platformId);

// The first three characters of a version text with blanks trimmed: "9x", "NT", "32s" or "".
std::string WindowsTypeFromVersion(const std::string& versionText);

}  // namespace common
