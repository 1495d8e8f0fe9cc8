// Text across the programs' borders: UTF-16 and other code pages, GDI's text functions, and
// the system's controls, tips and message boxes given our text.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Text.h"
#include "support/TestSupport.h"

using testing_support::Utf16;

namespace {

const std::string kSample = "café näive €5 日本";
// The same in the Western code page (1252): é E9, ä E4, € 80. "日本" has no place there.
const std::string kWesternSample = "caf\xE9 n\xE4ive \x80"
                                   "5";

// A bitmap DC of the dialog font, white, for drawing text.
class DrawingSurface {
public:
    DrawingSurface() {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(nullptr, screen);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, platform::DefaultFont());
        Clear();
    }
    ~DrawingSurface() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    void Clear() {
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc_, TRANSPARENT);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc_, x, y));
        return pixels;
    }
    static constexpr int kWidth = 240, kHeight = 24;

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_, oldFont_;
};

}  // namespace

TEST(OurCodePage, TestsRunInTheProgramsCodePageWhileTheSystemKeepsItsOwn) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the tests must carry the programs' manifest";
    // Other programs' ANSI text is in the system's code pages, never in ours.
    const UINT systemAnsi = platform::AnsiCodePageOf(LOCALE_SYSTEM_DEFAULT);
    EXPECT_NE(systemAnsi, static_cast<UINT>(CP_UTF8));
    EXPECT_TRUE(IsValidCodePage(systemAnsi));
    EXPECT_NE(platform::OemCodePageOf(LOCALE_SYSTEM_DEFAULT), static_cast<UINT>(CP_UTF8));
    EXPECT_EQ(platform::AnsiCodePageOf(MAKELCID(0x0409, SORT_DEFAULT)), 1252u);
    EXPECT_EQ(platform::OemCodePageOf(MAKELCID(0x0409, SORT_DEFAULT)), 437u);
    EXPECT_EQ(platform::AnsiCodePageOf(MAKELCID(0x0411, SORT_DEFAULT)), 932u);
    EXPECT_EQ(platform::OemCodePageOf(MAKELCID(0x0419, SORT_DEFAULT)), 866u);
    // A locale with only Unicode (Hindi), or none the system knows: the system's.
    EXPECT_EQ(platform::AnsiCodePageOf(MAKELCID(0x0439, SORT_DEFAULT)), systemAnsi);
    EXPECT_EQ(platform::AnsiCodePageOf(0x7777), systemAnsi);
}

TEST(TextConversion, EveryCharacterRoundTripsAndNothingPastTheEndIsRead) {
    const std::string text = kSample + " \xE2\x98\x80 \xF0\x9F\x98\x80";  // ☀ and one beyond 16 bits
    EXPECT_EQ(platform::Wide(text), Utf16(text));
    EXPECT_EQ(platform::FromWide(platform::Wide(text)), text);
    EXPECT_EQ(platform::Wide(""), L"");
    EXPECT_EQ(platform::FromWide(L""), "");
    // Text ending inside a character: the character is lost, the bytes after it never read.
    const std::string buffer = "caf\xC3\xA9XYZ";
    EXPECT_EQ(platform::Wide(std::string_view(buffer).substr(0, 4)), L"caf\uFFFD");
    const std::string sun = "ab\xE2\x98\x80XYZ";
    EXPECT_EQ(platform::Wide(std::string_view(sun).substr(0, 4)), L"ab\uFFFD");
    // Other code pages.
    EXPECT_EQ(platform::FromCodePage(kWesternSample, 1252), "café näive €5");
    EXPECT_EQ(platform::FromCodePage("\x93\xFA\x96\x7B", 932), "日本");
    EXPECT_EQ(platform::FromCodePage("caf\x82", 437), "café");
    const std::string cutAfterLead = "\x93\xFA\x96\x7B\x93XYZ";
    const std::string cut = platform::FromCodePage(std::string_view(cutAfterLead).substr(0, 5), 932);
    EXPECT_EQ(cut.rfind("日本", 0), 0u) << cut;
    EXPECT_EQ(cut.find('X'), std::string::npos) << cut;
}

TEST(GdiText, MeasuredAndDrawnAsTheSystemDrawsUnicodeText) {
    const std::string name = "Fotos Café ☀";
    const std::wstring wide = Utf16(name);
    DrawingSurface surface;
    SIZE expected{};
    GetTextExtentPoint32W(surface.dc(), wide.c_str(), static_cast<int>(wide.size()), &expected);
    const SIZE measured = platform::TextExtent(surface.dc(), name);
    EXPECT_EQ(measured.cx, expected.cx);
    EXPECT_EQ(measured.cy, expected.cy);
    // The ANSI function reads the bytes in the font's code page: a wider, wrong text.
    SIZE bytewise{};
    GetTextExtentPoint32A(surface.dc(), name.c_str(), static_cast<int>(name.size()), &bytewise);
    EXPECT_GT(bytewise.cx, expected.cx);

    RECT area{2, 2, DrawingSurface::kWidth, DrawingSurface::kHeight};
    DrawTextW(surface.dc(), wide.c_str(), static_cast<int>(wide.size()), &area, DT_SINGLELINE | DT_NOPREFIX);
    const std::vector<COLORREF> reference = surface.Pixels();
    surface.Clear();
    platform::PaintText(surface.dc(), name, area, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(surface.Pixels(), reference);

    surface.Clear();
    TextOutW(surface.dc(), 3, 1, wide.c_str(), static_cast<int>(wide.size()));
    const std::vector<COLORREF> referenceAt = surface.Pixels();
    surface.Clear();
    platform::PaintTextAt(surface.dc(), 3, 1, name);
    EXPECT_EQ(surface.Pixels(), referenceAt);
}

namespace {

class NamesForm : public platform::Form {
public:
    platform::Label label;

protected:
    void Form_Load() override { label.Create(*this, "", 120, 120, 3000, 300); }
};

std::wstring boxText;

// Reads the message box of this thread and closes it.
void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) return;
    KillTimer(nullptr, timer);
    boxText = testing_support::WindowTextW(GetDlgItem(box, 0xFFFF));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(ControlText, NamesReachCaptionsLabelsTipsAndMessageBoxesAsTheyAre) {
    const std::string path = "C:\\Fotos Café ☀\\Été à Paris ☀.jpg";
    const std::wstring wide = Utf16(path);
    NamesForm form;
    form.Load();
    form.SetCaption("Browse Pics - " + path);
    EXPECT_EQ(testing_support::WindowTextW(form.hWnd()), L"Browse Pics - " + wide);
    form.label.SetText(path);
    EXPECT_EQ(testing_support::WindowTextW(form.label.hWnd()), wide);
    EXPECT_EQ(form.label.Text(), path);
    // The tooltip, as its window holds it.
    form.label.SetToolTipText(path);
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr)
        if (GetWindow(tip, GW_OWNER) == form.hWnd()) break;
    ASSERT_TRUE(tip);
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = form.hWnd();
    info.uId = reinterpret_cast<UINT_PTR>(form.label.hWnd());
    wchar_t tipText[128] = {};
    info.lpszText = tipText;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::wstring(tipText), wide);
    form.Unload();
    // The last form to go asks the program to end; a box would take that as its own end.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }

    // A message box quoting the path, shown for real.
    testing_support::MsgBoxRecorder restoresTheGuard;
    platform::SetMsgBoxHook(nullptr);
    boxText.clear();
    SetTimer(nullptr, 0, 100, ReadAndCloseBox);
    platform::MsgBox("The '" + path + "' file.", platform::kMsgWarning, "Sorvita");
    EXPECT_EQ(boxText, L"The '" + wide + L"' file.");
}
