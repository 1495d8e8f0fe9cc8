// The slide-show window: full screen for the screen saver and the setup dialog's
// Preview, or a child of the Display Properties preview area. Two frames take turns,
// so that the next picture is laid out while the last one is still on screen.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/PicturePick_.h"
#include "platform/Form.h"
#include "platform/Picture.h"
#include "platform/PictureReadAhead.h"
#include "slide_saver/OtherMonitors.h"

namespace slide_saver {

inline constexpr const char* kPreviewCaption = "Preview";
inline constexpr const char* kPaused = "PAUSED";
inline constexpr int kFirstTickInterval = 1;
inline constexpr int kTickInterval = 500;
inline constexpr COLORREF kMessageColor = RGB(255, 0, 0);
inline constexpr COLORREF kTimeLeftColor = RGB(255, 255, 255);
inline constexpr COLORREF kQuickTimeLeftColor = RGB(255, 255, 0);
// Pointer movement, in pixels, that ends the saver when "Allow Mouse" is on.
inline constexpr float kMouseMoveLimit = 10;

// Messages printed on the window.
inline constexpr const char* kNoFolder =
    "The pics folder has\r\nnot been selected.\r\nGo to Control Panel,\r\nDisplay, Slide Saver,\r\nSettings to set it up.";
inline constexpr const char* kFolderGone = "folder no longer exists.";
inline constexpr const char* kFolderEmpty = "folder does not contain any";
inline constexpr const char* kLoadError = "An error occurred attempting\r\nto load or display the file\r\n";
inline constexpr const char* kTooManyErrors =
    "10 consecutive errors have\r\noccurred attempting to load\r\nor display a pic file.\r\n\r\nLast file: ";

// Graphic(i): the picture a frame holds, drawn at its own size or stretched to the frame.
class SlideImage {
public:
    SlideImage() = default;
    SlideImage(const SlideImage&) = delete;
    SlideImage& operator=(const SlideImage&) = delete;
    ~SlideImage() { Release(); }

    bool Load(const std::string& path, std::string* error, bool morePicTypes = false);
    // Takes over a picture already loaded.
    void Adopt(platform::Picture&& picture);
    // Transparent parts take this colour (see platform::Picture::Flatten); before SetStretch.
    void Flatten(COLORREF background) { picture_.Flatten(background); }
    const platform::Picture& Picture() const { return picture_; }
    bool Empty() const { return picture_.Empty(); }
    int Width() const { return picture_.Width(); }
    int Height() const { return picture_.Height(); }
    bool Stretch() const { return stretch_; }
    // Own size (false), or `width` x `height` (true).
    void SetStretch(bool stretch, int width = 0, int height = 0);
    // The part of the picture inside `area` (the frame's coordinates).
    void Draw(HDC dc, const RECT& area) const;
    // Keeps only what is seen of the picture in `visible` (the frame's coordinates) and lets
    // the picture go: the frame goes on showing the same pixels while the next picture loads,
    // without holding two whole pictures at once.
    void KeepOnly(const RECT& visible);
    void Release();

private:
    HBITMAP Source() const;

    platform::Picture picture_;
    bool stretch_ = false;
    // The stretched picture, made once: frames are drawn again on every uncovering.
    HBITMAP scaled_ = nullptr;
    int scaledWidth_ = 0, scaledHeight_ = 0;
    HBITMAP kept_ = nullptr;
    POINT keptOrigin_{0, 0};
};

class frmSSaver : public platform::Form {
public:
    frmSSaver();
    ~frmSSaver() override;

    class platform::Timer ssTimer;
    platform::PictureBox Pic[2];
    SlideImage Graphic[2];
    platform::ScrollBar GraphicVScroll, GraphicHScroll;
    platform::PictureBox lblTimeLeft, lblFilename;

    // Window fields.
    float StartTime = 0;
    int32_t Delay = 0;
    common::PickState Pick;  // CurrentIndex, PreviousIndex, LastPick
    int ActiveFrame = 0;
    bool Tiled = false;
    bool UsePassword = false;
    float LastMouseX = 0, LastMouseY = 0;
    bool QuickMode = false;
    bool Blackout = false;
    struct Look {
        bool TimerEnabled = false;
        bool FrameVisible = false;
        bool VScrollVisible = false;
        bool HScrollVisible = false;
        bool NameVisible = false;
        bool TimeVisible = false;
        COLORREF BackColor = 0;
        bool OtherFrameVisible = false;  // the last good picture, kept under a load error
        std::string Printed;             // the load error's text
    } SavedLook;

    COLORREF BackColor() const { return backColor_; }
    // The text printed on the window since it was last cleared.
    const std::string& PrintedText() const { return printed_; }
    // The tiles drawn over the background; null when there are none.
    HBITMAP BackgroundPicture() const { return background_; }
    COLORREF TimeLeftColor() const { return timeLeftColor_; }
    HCURSOR Pointer() const { return pointer_; }

    // The monitors beside the primary, from left to right; none in the preview pane.
    std::vector<std::unique_ptr<OtherMonitor>> OtherMonitors;
    void OpenOtherMonitors();
    void CloseOtherMonitors();
    // Monitors added, removed or moved while the show runs: the show covers the desk as it is now.
    void ReopenOtherMonitors();
    // At each change of picture on the primary: the others change too.
    void ShowPicsOnOtherMonitors(bool previous);
    // The settings or the blackout changed: the other monitors follow.
    void LayOutOtherMonitors(bool newColor);
    void RedrawOtherMonitors();

    // The picture the next change (N, or the delay running out) will have to load, decoded
    // while this one is shown. At random, the pick of that change is drawn for it now.
    platform::PictureReadAhead ReadAhead;
    void ReadAheadNextPic();

    // Routines.
    void ssTimer_Timer();
    void ShowNextPic(bool previous);
    bool CheckPicsFolder();
    void ShowScreenMessage(bool isPicError, const std::string& message);
    void PreparePicDisplay(bool flip);
    void ShowPicBestFit();
    void ShowPicActualSize();
    void TileSmallPic(bool noTiling);
    void FinishPicDisplay(bool flip);
    void SetRandomBackColor();
    void ShowTimeLeft(const std::string& text);
    void ShowFileName(const std::string& text);

    // Events. Key codes are virtual keys; positions are the window's pixels.
    void Form_KeyDown(int keyCode);
    void Form_KeyUp(int keyCode);
    void Form_MouseDown(int button, float x, float y);
    void Form_MouseMove(float x, float y);
    void Form_DblClick();
    void GraphicVScroll_Change();
    void GraphicHScroll_Change();

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    bool Form_QueryUnload(platform::UnloadMode mode) override;
    void Form_Unload() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void EndSaver();
    void SetBackColor(COLORREF color);
    void ClearBackgroundPicture();
    // Repaints the window; what was printed on it is gone.
    void RefreshWindow();
    void PaintWindow(HDC dc);
    void PaintTextBox(HDC dc, const platform::PictureBox& box, COLORREF color);
    SIZE TextSize(const std::string& text) const;
    int InnerWidth() const;
    int InnerHeight() const;
    void Place(platform::Control& control, long left, long top, long width, long height);
    void ForwardMouse(const platform::Control& from, int button, int x, int y, bool down);
    bool AnyScrollBarVisible() const;
    bool PasswordInForce() const;
    // The primary monitor's size changed (a new resolution, a monitor plugged in or out):
    // the window covers it again, and the picture is laid out on it.
    void CoverPrimaryMonitor();
    // The picture shown laid out again with the settings as they are now, and its texts with it.
    void LayOutActivePic();
    // The picture for the active frame: from the monitor that shows it already, else read ahead, else the file.
    bool LoadActivePic(const std::string& path, std::string* error);

    COLORREF backColor_ = RGB(0, 0, 0);
    // The random colour drawn for a transparent picture before it was laid out, which
    // SetRandomBackColor then gives the window.
    std::optional<COLORREF> nextBackColor_;
    // The next change's pick, drawn ahead; it holds while the show stands where it was drawn.
    struct DrawnPick {
        common::PickState from, to;
        long count = 0;
        bool random = false;
    };
    std::optional<DrawnPick> nextPick_;
    COLORREF timeLeftColor_ = kTimeLeftColor;
    std::string printed_;
    HBITMAP background_ = nullptr;
    HFONT font_ = nullptr;
    HCURSOR pointer_ = nullptr;
    bool busy_ = false;
};

}  // namespace slide_saver
