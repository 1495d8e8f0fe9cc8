// Helpers shared by the tests that run under Wine.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "common/BrowseForFolder_.h"
#include "platform/MsgBox.h"

namespace testing_support {

// Records every message box and answers from a script (IDOK, or IDYES for Yes/No
// boxes, once the script runs out). Installed for the lifetime of the object.
class MsgBoxRecorder {
public:
    MsgBoxRecorder();
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<platform::MsgBoxCall>& Calls() const { return calls_; }
    size_t Count() const { return calls_.size(); }
    const platform::MsgBoxCall& Last() const { return calls_.back(); }
    void Clear() { calls_.clear(); }

private:
    std::vector<platform::MsgBoxCall> calls_;
    std::deque<int> answers_;
};

// Registry helpers for checking what the code under test wrote.
bool RegValueExists(HKEY root, const std::string& key, const std::string& name);
std::string RegString(HKEY root, const std::string& key, const std::string& name);
void RegSetString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
void RegSetDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
void RegDeleteTree(HKEY root, const std::string& key);

// A fresh empty folder under the test prefix's temporary folder, removed on scope exit.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& contents);
// A 24-bit bitmap file of one colour.
void WriteBmp(const std::string& path, int width, int height, COLORREF color = RGB(200, 80, 40));
void DeleteTree(const std::string& path);

// A Unix path as Wine's Z: drive shows it.
std::string WinePath(const std::string& unixPath);
// The path in an environment variable (a Unix path), as Wine's Z: drive shows it.
std::string WinePathFromEnv(const char* variable);

// Starts a program with its arguments and waits up to `timeoutMs` for it to end;
// returns its exit code, or -1 when it could not start or is still running (then it is ended).
long RunProgram(const std::string& exe, const std::string& arguments, unsigned long timeoutMs);

// Lets pending messages run.
void PumpMessages();

// UTF-16 of UTF-8 text, converted here and not by the code under test.
std::wstring Utf16(const std::string& utf8);
// A registry string value as the registry holds it (UTF-16); L"<none>" when missing.
std::wstring RegStringW(HKEY root, const std::string& key, const std::string& name);
// A window's text as the system holds it.
std::wstring WindowTextW(HWND hwnd);

// How wide drawn text came out: the pixels from the first to the last column of `area` (in
// the device context's coordinates) that hold ink, a pixel unlike `background` and, with
// `greyOnly`, one of equal red, green and blue (as antialiased black text is, and a coloured
// picture beside it is not); 0 when there is none.
int InkWidth(HDC dc, const RECT& area, COLORREF background, bool greyOnly = false);
// The same for `text` as the system draws UTF-16 text in `font`, black on white.
int UnicodeInkWidth(HFONT font, const std::wstring& text, bool greyOnly = false);

// Another program at the clipboard: a stand-in that runs in the system's code page.
namespace other_program {
// Puts UTF-8 `text` on the clipboard as CF_UNICODETEXT and nothing else.
bool PutUnicodeText(const std::string& text);
// Puts `bytes` as they are in `format` ("text", "oemtext" or a registered name), with
// CF_LOCALE `locale` unless it is 0.
bool PutBytes(const std::string& format, LCID locale, const std::string& bytes);
// The clipboard's CF_UNICODETEXT as that program reads it; false when there is none.
bool ReadUnicodeText(std::wstring& text);
}  // namespace other_program
// Lets pending messages and paints run for `ms` milliseconds, long enough for the system to
// pass what the windows painted on to the display.
void Settle(unsigned long ms = 300);

// The pixels the screen shows of a window's rectangle (the part on the screen), frame included,
// once it has settled.
struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ScreenShot CaptureWindow(HWND hwnd);

// Whether the screen shows the same pixels of `hwnd` now as after the window and all its
// controls have been painted again from scratch (which covering and uncovering it would do);
// on failure, how many pixels differ and where the first of them is.
::testing::AssertionResult ShowsWhatARepaintShows(HWND hwnd);

// The visible top-level windows captioned `caption`, and which of them belongs to a process.
struct TopWindows {
    std::vector<HWND> all;
    HWND mine = nullptr;  // the one of the process asked about
};
TopWindows FindTopWindows(const std::string& caption, DWORD processId);

// Copies of the stand-in program that notes each of its starts (support/LaunchProbe.cpp, found
// through SORVITA_PROBE_EXE), and the starts they noted, in a log in `folder` that this process
// names in its environment for the programs it starts.
class LaunchProbes {
public:
    explicit LaunchProbes(const TempFolder& folder);
    ~LaunchProbes();
    LaunchProbes(const LaunchProbes&) = delete;
    LaunchProbes& operator=(const LaunchProbes&) = delete;
    // Puts a copy of the stand-in at `path`; false when it cannot.
    bool Place(const std::string& path);
    // The starts noted, "path it ran from|command line", once there are `count` of them or
    // `timeoutMs` has passed.
    std::vector<std::string> Starts(size_t count, unsigned long timeoutMs = 10000);

private:
    std::string program_;
    std::string log_;
};

// Answers the folder picker from a script (an empty entry, or running out, cancels) and
// keeps the prompts it was shown.
class FolderPickerScript {
public:
    explicit FolderPickerScript(std::vector<std::string> script);
    ~FolderPickerScript();
    FolderPickerScript(const FolderPickerScript&) = delete;
    FolderPickerScript& operator=(const FolderPickerScript&) = delete;
    std::vector<std::string> prompts;

private:
    std::deque<std::string> answers_;
    std::function<PIDLIST_ABSOLUTE(BROWSEINFOA*)> saved_;
};

}  // namespace testing_support
