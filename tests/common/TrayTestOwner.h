// A small tray owner window for the tests: a tray menu laid out like the suite's
// (eleven entries before the separator that the two-column layout hides).
#pragma once
#include <windows.h>

#include <string>

#include "common/TrayOwner.h"

namespace tray_test {

class TestOwner : public common::TrayOwner {
public:
    platform::MenuItem TrayIcon_Popup_Item[9];
    platform::MenuItem zsep00, zsep05, zsep09;
    platform::MenuItem TrayIcon_Popup_Default;
    platform::MenuItem TrayIcon_Popup_ResetWP, TrayIcon_Popup_ResetWP_Center;
    platform::MenuItem TrayIcon_Popup_ClearWP;

    std::string log;  // the commands and hooks run, in order
    bool twoColumns = false;
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);

    // Unloads the window on "Exit", as the owners do.
    bool unloadOnExit = false;

protected:
    platform::FormStyle Style() const override {
        platform::FormStyle style;
        style.caption = "Tray test owner";
        return style;
    }
    void Form_Load() override {
        TrayIcon_Popup.Create(*this, "Commands", false);
        TrayIcon_Popup_Exit.Create(TrayIcon_Popup, "Exit");
        zsep00.Create(TrayIcon_Popup, "-");
        for (int i = 0; i < 9; ++i) {
            TrayIcon_Popup_Item[i].Index = i;
            TrayIcon_Popup_Item[i].Create(TrayIcon_Popup, "Item " + std::to_string(i + 1));
        }
        zsep05.Create(TrayIcon_Popup, "-");
        TrayIcon_Popup_ResetWP.Create(TrayIcon_Popup, "Reset Wallpaper Style");
        TrayIcon_Popup_ResetWP_Center.Create(TrayIcon_Popup_ResetWP, "Center");
        TrayIcon_Popup_ClearWP.Create(TrayIcon_Popup, "Clear Wallpaper");
        TrayIcon_Popup_Default.Create(TrayIcon_Popup, "Default Command");
        zsep09.Create(TrayIcon_Popup, "-");
        TrayIcon_Popup_Restore.Create(TrayIcon_Popup, "Setup...");
        TrayIcon_Popup_Exit.Click = [this] {
            log += "exit;";
            if (unloadOnExit) Unload();
        };
        TrayIcon_Popup_Default.Click = [this] { log += "default;"; };
        InitTrayOwner();
    }
    HICON TrayIconPicture() override { return icon; }
    platform::MenuItem& TrayDefaultItem() override { return TrayIcon_Popup_Default; }
    bool TwoColumnMenu() override { return twoColumns; }
    platform::MenuItem* ColumnBreakSeparator() override { return &zsep05; }
    void BeforeTrayMenu() override { log += "before;"; }
    void AfterTrayMenu() override { log += "after;"; }
};

}  // namespace tray_test
