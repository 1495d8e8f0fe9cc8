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
}

void TrayOwner::GoToTray() {
    InTrayTransition = true;
    clsTaskBar& taskBar = TaskBar();
    if (taskBar.Setup(*this, false)) {
        if (!taskBar.AddIcon(*this, TrayIconPicture(), platform::App().Title, 1)) {
            platform::MsgBox(kTrayIconNotCreated, platform::kMsgWarning);
            taskBar.Shutdown(*this, true, false);
        } else if (platform::MenuItem* separator = ColumnBreakSeparator()) {
            LayoutTrayMenu(TrayIcon_Popup, *separator, TwoColumnMenu());
        }
    } else {
        Show();
    }
    InTrayTransition = false;
}

void TrayOwner::MinimizeToTray() { MinimizeWindow(hWnd()); }

void TrayOwner::RestoreFromTray() {
    // Moving out of the tray: taking the menu bar away resizes the still minimized window,
    // which must not send it back.
    InTrayTransition = true;
    TrayIcon_Popup.SetVisible(false);
    TaskBar().Shutdown(*this, true, true);
    InTrayTransition = false;
}

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
    InTrayTransition = true;
    taskBar.Shutdown(*this, true, false);
    InTrayTransition = false;
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
    clsTaskBar& taskBar = TaskBar();
    if (taskBar.MainInTray()) taskBar.Shutdown(*this, false, true);
}

}  // namespace common
