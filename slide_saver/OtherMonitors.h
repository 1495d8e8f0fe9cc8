// The show on the monitors beside the primary: one borderless window over each, showing a
// picture of the same folder laid out by that monitor's own size. The slide-show window
// drives them from its own ticks and keys, and takes their input as its own.
#pragma once
#include <windows.h>

#include <string>

#include "common/DeskMonitors_.h"
#include "common/PicturePick_.h"
#include "platform/Picture.h"
#include "slide_saver/SaverRules_.h"

namespace slide_saver {

class frmSSaver;

class OtherMonitor {
public:
    OtherMonitor(frmSSaver& show, const common::MonitorBox& area);
    OtherMonitor(const OtherMonitor&) = delete;
    OtherMonitor& operator=(const OtherMonitor&) = delete;
    ~OtherMonitor();

    HWND hWnd() const { return hwnd_; }
    // Where this monitor stands in the picture list.
    common::PickState Pick;

    // The picture shown, for the next monitor in line to take over without loading it
    // again; the screen goes on showing it meanwhile.
    bool Holds(const std::string& path) const { return !picture_.Empty() && path == path_; }
    platform::Picture TakePicture() { return std::move(picture_); }

    // Shows `picture` (loaded from `path`), or the bare background when it is empty.
    void ShowPicture(const std::string& path, platform::Picture&& picture);
    // Lays the picture out again with the settings as they are now; `newColor`: a new
    // random background colour, when that setting is on.
    void LayOut(bool newColor);
    // Shows what the show's blackout says: black, or the picture again.
    void Redraw();

    const std::string& Path() const { return path_; }
    COLORREF BackColor() const { return backColor_; }
    bool Tiled() const { return tiled_; }
    // Where the picture lies on the monitor (the monitor's pixels).
    const Box& Frame() const { return frame_; }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc);
    // A mouse position on this monitor in the slide-show window's pixels.
    POINT ToShow(LPARAM lParam) const;

    frmSSaver& show_;
    HWND hwnd_ = nullptr;
    long width_ = 0, height_ = 0;
    platform::Picture picture_;
    std::string path_;
    // What the monitor shows, composed once per picture.
    HBITMAP screen_ = nullptr;
    COLORREF backColor_ = RGB(0, 0, 0);
    bool tiled_ = false;
    Box frame_;
};

}  // namespace slide_saver
