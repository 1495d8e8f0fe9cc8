// The program's icons in the taskbar notification area ("tray").
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "common/ShellText_.h"

namespace common {

class TrayOwner;

// The message the shell sends the owner window for mouse events on an icon.
inline constexpr UINT kTrayCallbackMessage = 0x0701;

inline constexpr const char* kNoTaskbarMessage =
    "The Windows taskbar could not be detected, "
    "therefore a tray icon cannot be created."
    "\r\n\r\n"
    "The tray icon feature is either not available on your "
    "system, such as under Windows NT 3.51; a Windows shell "
    "other than Windows Explorer is being used that is not "
    "completely compatible with the tray icon feature; or this "
    "indicates a current underlying Windows problem and it is "
    "probably best if you restart Windows soon.";

// The first layout of the shell's ANSI notify-icon record: 88 bytes in a 32-bit
// program, wider where handles are 64 bits.
inline constexpr DWORD kNotifyIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(sizeof(void*) != 4 || kNotifyIconRecordSize == 88);

class clsTaskBar {
public:
    clsTaskBar();
    clsTaskBar(const clsTaskBar&) = delete;
    clsTaskBar& operator=(const clsTaskBar&) = delete;

    // Subclasses and hides the owner window, ready for its icon. False when there is no
    // taskbar (reported unless `Silent`) or subclassing failed (reported).
    bool Setup(TrayOwner& f, bool Silent);
    bool ChangeIcon(HICON hIcon, int ID);
    // The callback message last set by AddIcon; 0 before the first AddIcon.
    UINT CallbackMessage() const { return record_.uCallbackMessage; }
    // Adds the icon, replacing this icon number's present one; icon 1 starts f's watchdog.
    bool AddIcon(TrayOwner& f, HICON hIcon, const std::string& sTip, int ID);
    bool ChangeTip(const std::string& sTip, int ID);
    // Removes the icon; icon 1 stops f's watchdog. The icon counts as gone whatever the shell says.
    bool DeleteIcon(TrayOwner& f, int ID);
    // Takes f out of the tray: removes its icons and its subclass, then restores and shows it as asked.
    void Shutdown(TrayOwner& f, bool Reshow, bool Restore);
    // Whether the Windows taskbar was found.
    bool Exists();
    bool MainInTray() const { return IconPresent(1); }
    // Only icon numbers 1 and 2 exist.
    bool IconPresent(int ID) const;

    // The record last handed to the shell.
    const NOTIFYICONDATAA& Record() const { return record_; }

private:
    APPBARDATA appBar_{};
    NOTIFYICONDATAA record_{};
    bool iconPresent_[2] = {false, false};
};

// The program's one instance, created on first use.
clsTaskBar& TaskBar();

// Window-state steps of going into and out of the tray. A hidden top-level window is in
// neither the taskbar nor the task list, so hiding the owner also takes it off both.
void MinimizeWindow(HWND window);
// `staysHidden`: a hidden window is hidden again after restoring.
void RestoreWindow(HWND window, bool staysHidden);

namespace seams {
// The shell calls, replaceable so that tests can make them fail where the real shell won't.
extern std::function<BOOL(DWORD, NOTIFYICONDATAA*)> Shell_NotifyIconA;
extern std::function<UINT_PTR(DWORD, APPBARDATA*)> SHAppBarMessage;
}  // namespace seams

}  // namespace common
