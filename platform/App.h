// The running program's identity and the screen it runs on.
#pragma once
#include <string>

namespace platform {

struct Application {
    std::string Title;      // the executable's base name unless a program sets another
    std::string Path;       // folder of the executable, without a trailing backslash (but "C:\")
    std::string EXEName;    // base name of the executable file
    std::string Extension;  // ".exe" or ".scr", as the file is named
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
    std::string LegalCopyright;

    // True when another process of this program (same title) is already running.
    // The first call claims the program's instance marker for this process.
    bool PrevInstance();
};

// The identity is read from the module file name on first use.
Application& App();

// Sets the version numbers and legal notice kept with the program.
void SetAppVersion(int major, int minor, int revision, const std::string& legalCopyright);

// Screen measures. A twip is 1/1440 inch.
// The system's DPI: the primary monitor's as the program started (96 at 100 % scale).
int SystemDpi();
// 1440 / the system's DPI: 15 at 96 DPI, 10 at 144 DPI.
double TwipsPerPixelX();
double TwipsPerPixelY();
// The screen's size in twips.
double ScreenWidthTwips();
double ScreenHeightTwips();

// The whole program's pointer: the hourglass while busy, else the default.
void SetBusyPointer(bool busy);
bool IsBusyPointer();

// The system's description of an error code (FormatMessage), without a trailing line break.
std::string ErrorDescription(unsigned long errorCode);

}  // namespace platform
