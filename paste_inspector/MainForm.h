// Paste Inspector's window: the clipboard's text on top, its picture in the picture pane
// below, re-read every three seconds.
#pragma once
#include <windows.h>

#include "picture_browser/PicturePane.h"
#include "platform/Form.h"
#include "platform/Menu.h"

namespace paste_inspector {

inline constexpr const char* kSaveTextTitle = "Save Text";
inline constexpr const char* kSaveGraphicTitle = "Save Graphic";
inline constexpr const char kTextFilter[] = "Text Files (*.txt)\0*.txt";
inline constexpr const char kBitmapFilter[] = "Bitmap Files (*.bmp)\0*.bmp";

// The system's number of a clipboard format code (the registered rich-text and link
// formats for the two negative codes).
UINT ClipboardFormatOf(int code);
// True when the clipboard holds the format (failures count as absent).
bool ClipboardHas(int code);

class MainForm : public platform::Form {
public:
    platform::TextBox txtClipboard;
    picture_browser::PicturePane Pane;  // Pic, Image1, GraphicHScroll, GraphicVScroll, GraphicCorner
    platform::Timer tmrClipboard;

    platform::MenuItem mnuFile;
    platform::MenuItem mnuTextSave;
    platform::MenuItem mnuPicSave;
    platform::MenuItem zsep0;
    platform::MenuItem mnuFileExit;
    platform::MenuItem mnuPicDisplay;
    platform::MenuItem mnuClearClipboard;
    platform::MenuItem mnuAbout;
    platform::MenuItem mnuExit;

    // The pane fits the picture (true) or shows it at its own size.
    bool BestFitDisplay = false;
    // The metafile behind the picture shown, when the clipboard gave one; saved in its own form.
    HENHMETAFILE ShownMetafile() const { return metafile_; }
    bool ShownOldMetafile() const { return oldMetafile_; }

    ~MainForm() override;

    void RefreshFromClipboard();
    void ShowClipboardText();
    void ShowClipboardPicture();

    // Menu commands and events, as the controls raise them.
    void mnuTextSave_Click();
    void mnuPicSave_Click();
    void mnuPicDisplay_Click();
    void mnuClearClipboard_Click();
    void mnuAbout_Click();
    void mnuExit_Click();
    // Keys reach the window before its controls; true when the key was the window's.
    bool Form_KeyDown(int key, bool control);

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_DpiChanged() override;
    void Form_Unload() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK KeyPreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);
    void PreviewKeysOf(platform::Control& control);
    // Loads the clipboard's data in that picture format into Image1; empty when it cannot.
    void LoadClipboardPicture(int format);
    void SavePicture(const std::string& path);
    void ReleaseMetafile();
    HENHMETAFILE metafile_ = nullptr;
    bool oldMetafile_ = false;  // the clipboard gave a Windows (not enhanced) metafile
};

}  // namespace paste_inspector
