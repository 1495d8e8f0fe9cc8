#include "common/clsTaskBar.h"

#include "common/Subclass_.h"
#include "common/TrayOwner.h"
#include "platform/MsgBox.h"

namespace common {

namespace seams {
std::function<BOOL(DWORD, NOTIFYICONDATAA*)> Shell_NotifyIconA = [](DWORD message, NOTIFYICONDATAA* data) {
    return ::Shell_NotifyIconA(message, data);
};
std::function<UINT_PTR(DWORD, APPBARDATA*)> SHAppBarMessage = [](DWORD message, APPBARDATA* data) {
    return ::SHAppBarMessage(message, data);
};
}  // namespace seams

namespace {
bool ValidId(int ID) { return ID == 1 || ID == 2; }
}  // namespace

// The application-bar record is 36 bytes in a 32-bit program.
static_assert(sizeof(void*) != 4 || sizeof(APPBARDATA) == 36);
// The first layout's tip field is the start of the system's wider one.
static_assert(sizeof(NOTIFYICONDATAA::szTip) >= kTipFieldLength);

void MinimizeWindow(HWND window) {
    if (IsIconic(window)) return;
    ShowWindow(window, IsWindowVisible(window) ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
}

void RestoreWindow(HWND window, bool staysHidden) {
    if (!IsIconic(window)) return;
    // Windows restores a window only by showing it.
    bool hidden = !IsWindowVisible(window);
    ShowWindow(window, SW_RESTORE);
    if (hidden && staysHidden) ShowWindow(window, SW_HIDE);
}

clsTaskBar::clsTaskBar() {
    appBar_.cbSize = sizeof appBar_;
    record_.cbSize = kNotifyIconRecordSize;
}

clsTaskBar& TaskBar() {
    static clsTaskBar instance;
    return instance;
}

bool clsTaskBar::Exists() { return seams::SHAppBarMessage(ABM_GETTASKBARPOS, &appBar_) != 0; }

bool clsTaskBar::IconPresent(int ID) const { return ValidId(ID) && iconPresent_[ID - 1]; }

bool clsTaskBar::Setup(TrayOwner& f, bool Silent) {
    if (!TaskBar().Exists()) {
        if (!Silent) platform::MsgBox(kNoTaskbarMessage, platform::kMsgWarning);
        return false;
    }
    if (!SubclassWindow(f.hWnd())) return false;
    record_.hWnd = f.hWnd();
    MinimizeWindow(f.hWnd());
    f.Hide();
    return true;
}

bool clsTaskBar::AddIcon(TrayOwner& f, HICON hIcon, const std::string& sTip, int ID) {
    if (!ValidId(ID)) return false;
    if (iconPresent_[ID - 1]) DeleteIcon(f, ID);
    record_.uID = static_cast<UINT>(ID);
    record_.hIcon = hIcon;
    SetTipField(record_.szTip, sTip);
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (!seams::Shell_NotifyIconA(NIM_ADD, &record_)) return false;
    if (ID == 1) f.TrayIcon_Timer.SetEnabled(true);
    iconPresent_[ID - 1] = true;
    return true;
}

bool clsTaskBar::ChangeIcon(HICON hIcon, int ID) {
    if (!ValidId(ID)) return false;
    record_.uID = static_cast<UINT>(ID);
    record_.hIcon = hIcon;
    record_.uFlags = NIF_ICON;
    return seams::Shell_NotifyIconA(NIM_MODIFY, &record_) != FALSE;
}

bool clsTaskBar::ChangeTip(const std::string& sTip, int ID) {
    if (!ValidId(ID)) return false;
    record_.uID = static_cast<UINT>(ID);
    SetTipField(record_.szTip, sTip);
    record_.uFlags = NIF_TIP;
    return seams::Shell_NotifyIconA(NIM_MODIFY, &record_) != FALSE;
}

bool clsTaskBar::DeleteIcon(TrayOwner& f, int ID) {
    if (!ValidId(ID)) return false;
    if (ID == 1) f.TrayIcon_Timer.SetEnabled(false);
    iconPresent_[ID - 1] = false;
    record_.uID = static_cast<UINT>(ID);
    return seams::Shell_NotifyIconA(NIM_DELETE, &record_) != FALSE;
}

void clsTaskBar::Shutdown(TrayOwner& f, bool Reshow, bool Restore) {
    for (int ID = 1; ID <= 2; ++ID)
        if (iconPresent_[ID - 1]) DeleteIcon(f, ID);
    UnsubclassWindow(f.hWnd());
    if (Restore) RestoreWindow(f.hWnd(), !Reshow);
    if (Reshow) f.Show();
}

}  // namespace common
