// The picture pane: one picture shown shrunk to fit (Best Fit) or at its own size with
// scroll bars (Normal). The hosting form owns the pane and places `Pic`; the pane lays
// out what is inside it.
#pragma once
#include <windows.h>

#include <functional>

#include "platform/Form.h"
#include "platform/Picture.h"

namespace picture_browser {

inline constexpr const char* kGraphicCornerTip = "Go to center of pic.";
inline constexpr const char* kPicToolTip = "Right-click for display menu; Double-click to open pic.";

class PicturePane {
public:
    platform::PictureBox Pic;     // Tag: the full path of the picture shown, "" when none
    platform::PictureBox Image1;  // shows the picture
    platform::ScrollBar GraphicHScroll;
    platform::ScrollBar GraphicVScroll;
    platform::CommandButton GraphicCorner;

    // The loaded picture's own size in twips.
    long PicWidth = 0;
    long PicHeight = 0;
    // Normal size (true) or Best Fit; the host keeps its menu's check marks in step.
    bool NormalMode = false;

    // Right button released over the picture or the pane, at this screen point (pixels).
    std::function<void(POINT)> RightClick;
    // Double-click on the picture or the pane while a picture is loaded.
    std::function<void()> DblClick;

    void Create(platform::Form& form, int left, int top, int width, int height);

    // Image1's picture; an empty one releases the picture held.
    void SetPicture(platform::Picture picture);
    const platform::Picture& Picture() const { return picture_; }
    bool PictureLoaded() const { return !picture_.Empty() && picture_.Bitmap() != nullptr; }
    // Off: Image1 takes the picture's own size. On: the picture is drawn at Image1's size.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    void ResetPicDisplay(bool resetPosition);
    void ShowBestFit();
    void ShowNormalSize();
    // The layout of the current mode, then Image1 shown.
    void ShowByMode();
    // The host's window has moved to a monitor of another DPI: the picture keeps its pixels.
    void DpiChanged();

    // Event handlers, wired to the controls.
    void GraphicHScroll_Change();
    void GraphicVScroll_Change();
    void GraphicCorner_Click();
    void Pic_Resize();

private:
    void Pic_MouseUp(platform::PictureBox& box, int button, int x, int y);
    void Pic_DblClick();
    platform::Picture picture_;
    bool stretch_ = false;
};

}  // namespace picture_browser
