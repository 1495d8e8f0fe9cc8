#include "common/TrayOwner.h"

#include "common/MenuFunctions_.h"
#include "common/ShellText_.h"
#include "common/clsTaskBar.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace common {

void TrayOwner::InitTrayOwner() {
    TrayIcon_Timer.Create(*this, kTrayTimerInterval, false);
    TrayIcon_Timer.Tick = [this] { TrayIcon_Timer_Timer(); };
    TrayIcon_Popup_Exit.SetCaption(TrayIcon_Popup_Exit.Caption() + "\t" + kExitKeyHint);
    TrayIcon_Popup_Restore.SetCaption(TrayIcon_Popup_Restore.Caption() + "\t" + kRestoreKeyHint);
    TrayIcon_Popup_Restore.Click = [this] { RestoreFromTray(); };
    // Showing or hiding one of its items rebuilds the menu without the column break.
    TrayIcon_Popup.Rebuilt = [this] {
        if (menuInColumns_) SetMenuColumnBreak(TrayIcon_Popup, 0, kTrayMenuBreakPosition);
    };
}

void TrayOwner::ArrangeTrayMenu() {
    platform::MenuItem* separator = ColumnBreakSeparator();
    if (!separator) return;
    bool twoColumns = TwoColumnMenu();
    menuInColumns_ = false;
    LayoutTrayMenu(TrayIcon_Popup, *separator, twoColumns);
    menuInColumns_ = twoColumns;
}

void TrayOwner::LeaveTray(bool Restore) {
    // Taking the menu bar away resizes the still minimized window, which must not send
    // it back to the tray.
    InTrayTransition = true;
    menuInColumns_ = false;
    TrayIcon_Popup.SetVisible(false);
    TaskBar().Shutdown(*this, true, Restore);
    InTrayTransition = false;
}

void TrayOwner::GoToTray() {
    InTrayTransition = true;
    clsTaskBar& taskBar = TaskBar();
    if (taskBar.Setup(*this, false)) {
        if (!taskBar.AddIcon(*this, TrayIconPicture(), platform::App().Title, 1)) {
            platform::MsgBox(kTrayIconNotCreated, platform::kMsgWarning);
            taskBar.Shutdown(*this, true, false);
        } else {
            ArrangeTrayMenu();
        }
    } else {
        Show();
    }
    InTrayTransition = false;
}

void TrayOwner::MinimizeToTray() { MinimizeWindow(hWnd()); }

void TrayOwner::RestoreFromTray() { LeaveTray(true); }

void TrayOwner::TaskBarHandler(long WinMsg) {
    if (handlingTrayMessage_) return;
    handlingTrayMessage_ = true;
    switch (WinMsg) {
        case WM_LBUTTONDBLCLK:
            if (auto command = TrayDefaultItem().Click) command();
            break;
        case WM_RBUTTONUP:
            if (platform::KeyIsDown(VK_SHIFT)) {
                if (auto command = TrayIcon_Popup_Exit.Click) command();
            } else if (platform::KeyIsDown(VK_MENU)) {
                if (auto command = TrayIcon_Popup_Restore.Click) command();
            } else {
                BeforeTrayMenu();
                platform::PopupMenu(TrayIcon_Popup, TPM_RIGHTBUTTON, &TrayDefaultItem());
                AfterTrayMenu();
            }
            break;
        default:
            break;
    }
    handlingTrayMessage_ = false;
}

void TrayOwner::TrayIcon_Timer_Timer() {
    // A tick that comes while an earlier one waits in its message box changes nothing.
    if (watchdogRunning_) return;
    watchdogRunning_ = true;
    clsTaskBar& taskBar = TaskBar();
    if (Visible()) {
        InTrayTransition = true;
        MinimizeWindow(hWnd());
        Hide();
        InTrayTransition = false;
    }
    for (int attempt = 1; attempt <= kTrayTries; ++attempt) {
        if (taskBar.ChangeIcon(TrayIconPicture(), 1)) {
            watchdogRunning_ = false;
            return;
        }
        if (attempt < kTrayTries) platform::seams::Sleep(kTrayRetryWait);
    }
    for (int attempt = 1; attempt <= kTrayTries; ++attempt) {
        if (taskBar.AddIcon(*this, TrayIconPicture(), platform::App().Title, 1)) {
            watchdogRunning_ = false;
            return;
        }
        if (attempt < kTrayTries) platform::seams::Sleep(kTrayRetryWait);
    }
    platform::MsgBox(TrayIconLostMessage(platform::App().Title), platform::kMsgWarning);
    // The window comes back as the "Setup..." command would bring it, but still minimized.
    LeaveTray(false);
    watchdogRunning_ = false;
}

void TrayOwner::TaskbarCreated() {
    clsTaskBar& taskBar = TaskBar();
    // If the shell is not ready yet, the watchdog tries again.
    if (taskBar.MainInTray()) taskBar.AddIcon(*this, TrayIconPicture(), platform::App().Title, 1);
}

void TrayOwner::Form_Resize() {
    if (!InTrayTransition && Minimized()) GoToTray();
}

void TrayOwner::Form_Unload() {
    menuInColumns_ = false;
    clsTaskBar& taskBar = TaskBar();
    if (taskBar.MainInTray()) taskBar.Shutdown(*this, false, true);
}

}  // namespace common
