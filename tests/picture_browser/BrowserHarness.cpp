#include "BrowserHarness.h"

#include <cstdint>

#include "platform/Menu.h"

namespace browser_test {

void WriteBitmap(const std::string& path, int width, int height, COLORREF color, size_t fileSize) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::string data(54 + pixelBytes, '\0');
    auto put16 = [&](size_t at, uint16_t v) { memcpy(&data[at], &v, 2); };
    auto put32 = [&](size_t at, uint32_t v) { memcpy(&data[at], &v, 4); };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<uint32_t>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + y * rowBytes + x * 3;
            data[at] = static_cast<char>(GetBValue(color));
            data[at + 1] = static_cast<char>(GetGValue(color));
            data[at + 2] = static_cast<char>(GetRValue(color));
        }
    if (fileSize > data.size()) data.resize(fileSize, '\0');
    testing_support::WriteFile(path, data);
}

void BrowserHarness::SetUp() {
    savedTitle_ = platform::App().Title;
    platform::App().Title = kGalleryTitle;
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kHistoryKey);
    pics = root.File("Pics");
    empty = root.File("Empty");
    CreateDirectoryA(pics.c_str(), nullptr);
    CreateDirectoryA(empty.c_str(), nullptr);
    WriteBitmap(pics + "\\a.bmp", 40, 30, RGB(200, 0, 0));
    WriteBitmap(pics + "\\b.bmp", 50, 20, RGB(0, 200, 0));
    WriteBitmap(pics + "\\c.bmp", 30, 60, RGB(0, 0, 200));
    testing_support::WriteFile(empty + "\\notes.txt", "not a picture");
    GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
    SetCurrentDirectoryA(root.Path().c_str());
}

void BrowserHarness::TearDown() {
    Close();
    SetCurrentDirectoryA(savedDirectory_);
    platform::App().Title = savedTitle_;
}

picture_browser::frmWallpaper& BrowserHarness::OpenOwn() {
    browser = std::make_unique<picture_browser::frmWallpaper>(picFiles, folderMode, "");
    browser->Load();
    return *browser;
}

picture_browser::frmWallpaper& BrowserHarness::OpenHosted(const std::string& hostFolder) {
    host = std::make_unique<HostForm>();
    host->Load();
    browser = std::make_unique<picture_browser::frmWallpaper>(picFiles, folderMode, hostFolder);
    browser->Load();
    return *browser;
}

void BrowserHarness::Close() {
    if (browser && browser->IsLoaded()) browser->Unload();
    browser.reset();
    if (host && host->IsLoaded()) host->Unload();
    host.reset();
    // The last form to go asks the program to end.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void BrowserHarness::Choose(platform::ListControl& list, int index) {
    HWND hwnd = list.hWnd();
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof className);
    bool combo = lstrcmpiA(className, "ComboBox") == 0;
    SendMessageA(hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(list.Id(), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
}

void BrowserHarness::DoubleClick(platform::ListBox& list, int index) {
    SendMessageA(list.hWnd(), LB_SETCURSEL, index, 0);
    SendMessageA(GetParent(list.hWnd()), WM_COMMAND, MAKEWPARAM(list.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.hWnd()));
}

void BrowserHarness::Click(platform::CommandButton& button) {
    ASSERT_TRUE(button.Enabled());
    ASSERT_TRUE(button.Visible());
    SendMessageA(button.hWnd(), BM_CLICK, 0, 0);
}

void BrowserHarness::Menu(platform::MenuItem& item) {
    ASSERT_TRUE(item.Enabled());
    SendMessageA(browser->hWnd(), WM_COMMAND, MAKEWPARAM(item.Id(), 0), 0);
}

void BrowserHarness::EnterFolder(const std::string& name) {
    platform::ListBox& list = browser->PicsFolder;
    for (int i = 0; i < list.ListCount(); ++i)
        if (lstrcmpiA(list.List(i).c_str(), name.c_str()) == 0) {
            DoubleClick(list, i);
            return;
        }
    ADD_FAILURE() << "no folder entry " << name;
}

int BrowserHarness::FileIndex(const std::string& name) {
    platform::ListBox& list = browser->PicsFileList;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == name) return i;
    return -1;
}

void BrowserHarness::ChooseFile(const std::string& name) {
    int index = FileIndex(name);
    ASSERT_GE(index, 0) << name;
    Choose(browser->PicsFileList, index);
}

std::vector<std::string> BrowserHarness::HistoryItems() {
    std::vector<std::string> items;
    for (int i = 0; i < browser->cboPicFolder.ListCount(); ++i) items.push_back(browser->cboPicFolder.List(i));
    return items;
}

RECT ClientRectOf(const platform::Control& control) {
    RECT r{};
    GetWindowRect(control.hWnd(), &r);
    MapWindowPoints(nullptr, control.Parent()->hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace browser_test
