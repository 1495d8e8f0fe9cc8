// A window that lives in the tray: going there, answering its icon, keeping the icon
// alive and leaving again. Backdrop Changer's setup window and Desk Commander's main
// window derive from it.
//
// The derived window builds its tray menu in Form_Load: the hidden top-level menu
// TrayIcon_Popup with TrayIcon_Popup_Exit and TrayIcon_Popup_Restore ("Setup...") among
// its items, and then calls InitTrayOwner. It wires TrayIcon_Popup_Exit.Click itself.
// A derived Form_Resize or Form_Unload calls this class's version too.
#pragma once
#include <windows.h>

#include <string>

#include "platform/Form.h"
#include "platform/Menu.h"

namespace common {

inline constexpr const char* kTrayIconNotCreated = "A taskbar tray icon could not be created.";
// Key hints shown right-aligned beside the two items that a modified right click runs.
inline constexpr const char* kExitKeyHint = "r+s";
inline constexpr const char* kRestoreKeyHint = "r+a";

inline constexpr int kTrayTimerInterval = 30000;
inline constexpr DWORD kTrayRetryWait = 3000;
inline constexpr int kTrayTries = 3;

class TrayOwner : public platform::Form {
public:
    platform::Timer TrayIcon_Timer;
    platform::MenuItem TrayIcon_Popup;
    platform::MenuItem TrayIcon_Popup_Exit;
    platform::MenuItem TrayIcon_Popup_Restore;
    // True while the window moves into or out of the tray.
    bool InTrayTransition = false;

    // The shell's mouse message for the icon (from TrayWindowProc).
    void TaskBarHandler(long WinMsg);
    // Hides the window in the tray behind its icon; shows it when the tray cannot be used.
    void GoToTray();
    // The "Setup..." command: the window comes back from the tray.
    void RestoreFromTray();
    // Each tick of TrayIcon_Timer: puts the icon back if the shell has lost it.
    void TrayIcon_Timer_Timer();
    // The shell has restarted: the icon goes back at once rather than at the next tick.
    void TaskbarCreated();
    // Minimizes the window; Form_Resize then takes it to the tray.
    void MinimizeToTray();

protected:
    // Creates TrayIcon_Timer, appends the key hints and wires the "Setup..." command.
    void InitTrayOwner();

    // The picture the icon shows now.
    virtual HICON TrayIconPicture() = 0;
    // The owner's default command: the double-click and the bold menu item.
    virtual platform::MenuItem& TrayDefaultItem() = 0;
    // Two-column menu option and the separator that stands before the second column.
    virtual bool TwoColumnMenu() { return false; }
    virtual platform::MenuItem* ColumnBreakSeparator() { return nullptr; }
    // Steps of the owner's own just before the pop-up menu opens and after it has closed.
    virtual void BeforeTrayMenu() {}
    virtual void AfterTrayMenu() {}

    void Form_Resize() override;
    void Form_Unload() override;

private:
    // The window comes back on screen without the tray menu on its menu bar.
    void LeaveTray(bool Restore);
    void ArrangeTrayMenu();

    bool handlingTrayMessage_ = false;
    bool watchdogRunning_ = false;
    // The tray menu is laid out in two columns; a rebuild of it must set the break again.
    bool menuInColumns_ = false;
};

}  // namespace common
