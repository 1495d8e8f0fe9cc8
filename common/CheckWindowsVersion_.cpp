#include "common/CheckWindowsVersion_.h"

#include "common/VersionText_.h"

namespace common {

namespace seams {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::function<BOOL(OSVERSIONINFOA*)> GetVersionExA = [](OSVERSIONINFOA* info) { return ::GetVersionExA(info); };
#pragma GCC diagnostic pop
}  // namespace seams

std::string CheckWindowsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    bool queried = seams::GetVersionExA(&info) != FALSE;
    return WindowsVersionText(queried, info.dwMajorVersion, info.dwMinorVersion, queried ? info.dwPlatformId : ~0UL);
}

std::string GetWindowsType() { return WindowsTypeFromVersion(CheckWindowsVersion()); }

}  // namespace common
