// The information window: the file name of the picture hung last and the time left
// until the next one, in the top-right corner of the work area.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/Form.h"
#include "platform/Menu.h"

namespace backdrop_changer {

inline constexpr const char* kInfoOnTopKey = "Info Window on Top";
inline constexpr COLORREF kStartupDelayColor = 0xFFFFFF;  // white
inline constexpr COLORREF kOtherDelayColor = 0x00FFFF;    // yellow

class frmInfoWindow : public platform::Form {
public:
    platform::Label lblFileName;
    platform::Label lblTimeLeft;
    platform::Timer Timer1;
    platform::MenuItem Form_Popup, Form_Popup_CopyFilename, zsep0, Form_Popup_OnTop, zsep1, Form_Popup_Close;

    // What the window needs of the setup window, read when it loads.
    struct Host {
        std::string trayPicPath;  // the tag of TrayIcon_Popup_InfoWindow
        bool otherDelay = false;  // optSpeed index 1 is selected
        bool active = false;      // "Active"
        std::function<void()> close;  // flips chkDisplayTimeLeft
    };
    explicit frmInfoWindow(Host host) : host_(std::move(host)) {}

    // The path to show; the next Timer1 tick shows it.
    void SetFilePath(const std::string& path) { lblFileName.Tag = path; }
    void SetTimeLeft(const std::string& text);
    void SetTimeLeftColor(COLORREF color);
    COLORREF TimeLeftColor() const { return timeLeftColor_; }
    const std::string& ShownPath() const { return shownPath_; }

    void Timer1_Timer();
    void Form_Popup_CopyFilename_Click();
    void Form_Popup_OnTop_Click();
    void Form_Popup_Close_Click();
    // Right button released over the window or a label.
    void ShowFormPopup();

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Unload() override;
    void Form_DpiChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A label's width in twips sized to its text.
    void SizeToText(platform::Label& label);

    Host host_;
    std::string shownPath_;
    COLORREF timeLeftColor_ = kStartupDelayColor;
    HBRUSH background_ = nullptr;
};

}  // namespace backdrop_changer
