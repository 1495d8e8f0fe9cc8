#include "SaverHarness.h"

#include "platform/App.h"

namespace saver_test {

std::string SettingsKey() { return "Software\\VB and VBA Program Settings\\" + platform::App().Title + "\\Settings"; }

COLORREF ScreenColor(HWND window, int x, int y) {
    POINT at{x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return color;
}

SaverTest::SaverTest()
    : timer_(platform::seams::Timer, [this] { return clock; }),
      random_(platform::seams::Random, [this] {
          if (randoms.empty()) return 0.5;
          const double next = randoms.front();
          randoms.pop_front();
          return next;
      }) {
    slide_saver::InitIdentity();
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, SettingsKey());
    slide_saver::SaverSettings = {};
    slide_saver::SaverSettings.PicsFolder = folder.Path();
    slide_saver::IsWin9x = false;
    slide_saver::InPreviewPane = false;
    slide_saver::ShownFromSetup = false;
    slide_saver::OpenedFromDisplayProperties = false;
    common::PicFiles.clear();
}

SaverTest::~SaverTest() {
    slide_saver::SaverWindow.reset();
    testing_support::PumpMessages();
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, SettingsKey());
}

slide_saver::frmSSaver& SaverTest::Open() {
    slide_saver::ShowSaver(false);
    // The first tick is due 1 ms after loading, which the system rounds up to its shortest
    // timer; a load quicker than that would otherwise leave the tick to whatever comes next.
    for (int waited = 0; waited < 200; ++waited) {
        testing_support::PumpMessages();
        if (!SaverOpen() || !slide_saver::SaverWindow->ssTimer.Enabled() ||
            slide_saver::SaverWindow->ssTimer.Interval() != slide_saver::kFirstTickInterval)
            break;
        Sleep(1);
    }
    return *slide_saver::SaverWindow;
}

void SaverTest::Tick() {
    slide_saver::SaverWindow->ssTimer_Timer();
    testing_support::PumpMessages();
}

void SaverTest::Advance(double seconds) {
    clock += seconds;
    Tick();
}

void SaverTest::Key(int key) {
    SendMessageA(slide_saver::SaverWindow->hWnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    testing_support::PumpMessages();
}

void SaverTest::KeyUp(int key) {
    SendMessageA(slide_saver::SaverWindow->hWnd(), WM_KEYUP, static_cast<WPARAM>(key), 0);
    testing_support::PumpMessages();
}

std::string SaverTest::Picture(const std::string& name, int width, int height, COLORREF color) {
    const std::string path = folder.File(name);
    testing_support::WriteBmp(path, width, height, color);
    return path;
}

bool SaverTest::SaverOpen() const { return slide_saver::SaverWindow && slide_saver::SaverWindow->IsLoaded(); }

}  // namespace saver_test
