// What the Paste Inspector tests share: the window, a clipboard the test fills itself,
// and a save dialog that answers with a scripted path.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "paste_inspector/CommonDialogFile_.h"
#include "paste_inspector/MainForm.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace inspector_test {

// Fills the real clipboard; each call replaces what was there, unless AddNext came first.
class TestClipboard {
public:
    TestClipboard();
    ~TestClipboard();
    void Empty();
    // The next Put adds its format to those the clipboard holds, as a program that copies in
    // several formats at once does.
    void AddNext() { addNext_ = true; }
    void PutText(const std::string& text);
    void PutRegistered(const char* formatName, const std::string& bytes);
    // A bitmap of that size in one colour.
    void PutBitmap(int width, int height, COLORREF color);
    // Only a device-independent bitmap (the system offers a bitmap from it).
    void PutDib(int width, int height);
    // A file list, as the shell copies files.
    void PutFiles(const std::vector<std::string>& paths);
    // An enhanced metafile of about that size in pixels: a filled rectangle.
    void PutEnhMetafile(int width, int height);
    // A Windows metafile of that size in 0.01 mm, as METAFILEPICT: a filled rectangle.
    void PutOldMetafile(int widthHimetric, int heightHimetric);
    // A palette and nothing else.
    void PutPalette();
    // Text and a bitmap at once.
    void PutTextAndBitmap(const std::string& text, int width, int height);

private:
    bool Open();
    HWND owner_ = nullptr;
    bool addNext_ = false;
};

// One answer of the save dialog: what the dialog record held, and the path typed.
struct DialogCall {
    std::string filter;
    DWORD filterIndex = 0;
    std::string initialDir;
    std::string title;
    DWORD flags = 0;
    DWORD structSize = 0;
};

class Inspector : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The window loaded and shown; it has read the clipboard once.
    void Open();
    // The path the next save dialog answers with; "" cancels.
    void Answer(const std::string& path) { answers_.push_back(path); }
    void Click(platform::MenuItem& item);
    // A key as the message loop would deliver it to the focused control.
    void PressKey(HWND focus, int key, bool control);
    std::string ReadFile(const std::string& path);

    TestClipboard clipboard;
    testing_support::MsgBoxRecorder boxes;
    std::unique_ptr<paste_inspector::MainForm> form;
    std::vector<DialogCall> dialogs;

private:
    std::vector<std::string> answers_;
    std::unique_ptr<platform::ScopedSeam<std::function<BOOL(OPENFILENAMEA*)>>> saveSeam_;
};

}  // namespace inspector_test
