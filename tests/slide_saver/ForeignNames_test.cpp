// The slide show's name box with an accented and non-Latin picture name: sized to the name's
// characters and drawn as them, not as their UTF-8 bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include "SaverHarness.h"

using namespace slide_saver;
using saver_test::SaverTest;
using testing_support::Utf16;

namespace {
class NameBox : public SaverTest {};
}  // namespace

TEST_F(NameBox, SizedToAndDrawnAsTheNamesCharacters) {
    const std::string path = Picture("Été à Paris ☀ 日本.bmp", 40, 30, RGB(200, 0, 0));
    SaverSettings.DisplayName = true;
    frmSSaver& show = Open();
    Tick();
    ASSERT_TRUE(show.lblFilename.Visible());
    EXPECT_EQ(show.lblFilename.Tag, path);

    const std::wstring wide = Utf16(path);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, show.Font());
    SIZE expected{};
    GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &expected);
    SelectObject(screen, old);
    RECT box{};
    GetWindowRect(show.lblFilename.hWnd(), &box);
    EXPECT_EQ(box.right - box.left, expected.cx);
    EXPECT_EQ(box.right, 1024);

    UpdateWindow(show.hWnd());
    UpdateWindow(show.lblFilename.hWnd());
    const int drawn = testing_support::InkWidth(screen, box, RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
    const int reference = testing_support::UnicodeInkWidth(show.Font(), wide);
    EXPECT_GT(reference, 0);
    EXPECT_NEAR(drawn, reference, 1);
}
