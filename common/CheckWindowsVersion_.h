// Which Windows family the program runs on.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace common {

std::string CheckWindowsVersion();
std::string GetWindowsType();

namespace seams {
// The version query, replaceable so that tests can play other Windows versions.
extern std::function<BOOL(OSVERSIONINFOA*)> GetVersionExA;
}

}  // namespace common
