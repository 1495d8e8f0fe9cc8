// The About form and the About message of every program.
#pragma once
#include "platform/Form.h"

namespace common {

inline constexpr const char* kPhotoToolTip = "Proof that the author does go outside now and then.";
inline constexpr const char* kIconToolTip = "\"Simplicity is prerequisite for reliability.\"";

// The About text of the running program.
std::string AboutTextOfApp();

// The About text in a message box captioned "About".
void ShowAboutMessage();

class About : public platform::Form {
public:
    platform::TextBox Text1;
    platform::CommandButton cmdOK;
    platform::Image Image1[2];  // 0: the photograph, 1: the program's icon

    // Whether this opening shows the photograph (read after Load).
    bool PhotoShown() const { return photoShown_; }

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Unload() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void cmdOK_Click();
    void SetBottomEdge(int clientHeight);
    int ClientWidth() const;
    HBITMAP photo_ = nullptr;
    HICON icon_ = nullptr;
    bool photoShown_ = false;
};

}  // namespace common
