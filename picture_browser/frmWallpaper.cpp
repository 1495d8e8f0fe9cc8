#include "picture_browser/frmWallpaper.h"

#include <algorithm>

#include "common/About.h"
#include "common/FileFolderExists_.h"
#include "common/FitStuff_.h"
#include "common/FolderWalk_.h"
#include "common/GetDesktopSize_.h"
#include "common/SettingsApp_.h"
#include "common/SettingsText_.h"
#include "common/ShellCommands_.h"
#include "common/WindowsWallpaper_.h"
#include "picture_browser/BrowserRules_.h"
#include "picture_browser/BrowserSeams.h"
#include "picture_browser/PaneGeometry_.h"
#include "picture_browser/SubclassWP_.h"
#include "platform/App.h"
#include "platform/Format.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"
#include "platform/Text.h"

namespace picture_browser {

namespace {

int X(int pixels) { return platform::DesignTwips(pixels); }
int Y(int pixels) { return platform::DesignTwips(pixels); }

// Width in twips of a caption in the window's font, without its access-key marker.
int CaptionTwips(const std::string& caption) {
    std::string text;
    for (char c : caption)
        if (c != '&') text += c;
    platform::ScreenDC dc;
    platform::SelectedObject font(dc.get(), platform::DefaultFont());
    return platform::PixelsToTwipsX(platform::TextExtent(dc.get(), text).cx);
}

int FontTwips() {
    platform::ScreenDC dc;
    platform::SelectedObject font(dc.get(), platform::DefaultFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return platform::PixelsToTwipsY(metrics.tmHeight);
}

void Place(platform::Control& control, const PaneBox& box) {
    if (box.Width < 0 || box.Height < 0) return;
    control.Move(box.Left, box.Top, box.Width, box.Height);
}

// Design sizes in pixels that the layout takes as given.
constexpr int kMargin = 6;
constexpr int kButtonHeight = 23;
constexpr int kButtonPadding = 12;
constexpr int kRowGap = 3;
constexpr int kClearListWidth = 18;
constexpr int kPicNumberWidth = 76;
constexpr int kPicInfoWidth = 300;
constexpr int kHistoryDropHeight = 260;
constexpr int kDriveDropHeight = 200;

// Captions a button takes in turn, so that it is wide enough for each; in twips.
int ButtonTwips(std::initializer_list<const char*> captions) {
    int widest = 0;
    for (const char* caption : captions) widest = std::max(widest, CaptionTwips(caption));
    return std::max(widest + X(kButtonPadding), X(34));
}

constexpr const char* kFolderCaption = "&Folder";
constexpr const char* kFilesCaption = "&Files";
constexpr const char* kBestFitCaption = "&Best Fit";
constexpr const char* kNormalCaption = "&Normal";

}  // namespace

void SizeGrip::Create(platform::Form& form, int left, int top, int width, int height) {
    Control::Create(form, "SCROLLBAR", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 0, "", left, top, width, height);
}

frmWallpaper::frmWallpaper(const std::vector<std::string>& picFiles, bool& folderMode,
                           const std::string& hostPicsFolder)
    : picFiles_(picFiles), folderMode_(folderMode), hostPicsFolder_(hostPicsFolder) {}

bool frmWallpaper::Hosted() { return platform::Form::LoadedForms().size() > 1; }

int frmWallpaper::HostPicCount() const { return picFiles_.empty() ? 0 : static_cast<int>(picFiles_.size()) - 1; }

platform::FormStyle frmWallpaper::Style() const {
    platform::FormStyle style;
    style.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    style.width = X(kDefaultWidth);
    style.height = Y(kDefaultHeight);
    style.caption = platform::App().Title;
    return style;
}

// ---------------------------------------------------------------- loading

void frmWallpaper::CreateControls() {
    const int font = FontTwips();
    const int textHeight = font + Y(8);

    txtFileList.Create(*this, "", X(kMargin), Y(kMargin), X(400), textHeight, ES_READONLY);
    labPicNumber.Create(*this, "", X(500), Y(kMargin), X(kPicNumberWidth), textHeight, SS_RIGHT | SS_CENTERIMAGE);

    cboPicFolder.Create(*this, X(kMargin), Y(40), X(120), Y(kHistoryDropHeight));
    HFONT systemFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const char* clearCaptions[2] = {"-", "\xC3\x97"};  // minus, multiplication sign
    for (int i = 0; i < 2; ++i) {
        cmdClearList[i].Index = i;
        cmdClearList[i].Create(*this, clearCaptions[i], X(130 + i * kClearListWidth), Y(40), X(kClearListWidth),
                               cboPicFolder.Height());
        cmdClearList[i].SetFont(systemFont);
    }
    PicsDrive.Create(*this, X(kMargin), Y(70), X(150), Y(kDriveDropHeight));
    PicsFolder.Create(*this, X(kMargin), Y(100), X(150), Y(80));
    PicsFileList.Create(*this, X(kMargin), Y(190), X(150), Y(200));
    List1.Create(*this, X(kMargin), Y(40), X(150), Y(350), WS_HSCROLL);

    Pane.Create(*this, X(170), Y(40), X(400), Y(250));
    labPicInfo.Create(*this, "", X(200), Y(300), X(kPicInfoWidth), font + Y(2), SS_CENTER);

    // The buttons under the picture, in two rows inside Frame1.
    Frame1.Create(*this, X(200), Y(330), X(300), Y(70), 0);
    Frame1.Paint = [this](HDC dc) {
        RECT r{};
        GetClientRect(Frame1.hWnd(), &r);
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    };
    struct Cell {
        platform::CommandButton* button;
        std::string caption;
        int width;
    };
    std::vector<Cell> rows[2] = {
        {{&cmdPrevious, "&<--", ButtonTwips({"&<--"})},
         {&cmdNext, "--&>", ButtonTwips({"--&>"})},
         {&cmdRndSelect, "&Random Select", ButtonTwips({"&Random Select"})},
         {&cmdOpenPic, "&Open Pic", ButtonTwips({"&Open Pic"})},
         {&cmdGraphicDisplay, kBestFitCaption, ButtonTwips({kBestFitCaption, kNormalCaption})}},
        {{&cmdFileListMode, kFolderCaption, ButtonTwips({kFolderCaption, kFilesCaption})},
         {&cmdSetWallpaper, "&Set as Wallpaper >", ButtonTwips({"&Set as Wallpaper >"})},
         {&cmdClearWallpaper, "Clear &WP", ButtonTwips({"Clear &WP"})},
         {&cmdCancel, "Close", ButtonTwips({"Close", "Exit"})}}};
    int rowWidth[2] = {0, 0};
    for (int r = 0; r < 2; ++r)
        for (const Cell& cell : rows[r]) rowWidth[r] += cell.width;
    int inner = std::max(rowWidth[0], rowWidth[1]);
    rows[0][2].width += inner - rowWidth[0];  // the slack goes to the widest caption of each row
    rows[1][1].width += inner - rowWidth[1];
    for (int r = 0; r < 2; ++r) {
        int x = X(kMargin);
        int y = kMargin + 1 + r * (kButtonHeight + kRowGap);
        for (const Cell& cell : rows[r]) {
            cell.button->Create(*this, cell.caption, x, Y(y), cell.width, Y(kButtonHeight));
            cell.button->SetContainer(Frame1);
            cell.button->Move(x, Y(y), cell.width, Y(kButtonHeight));
            x += cell.width;
        }
    }
    Frame1.Move(Frame1.Left(), Frame1.Top(), inner + X(2 * kMargin),
                Y(2 * kMargin + 2 + 2 * kButtonHeight + kRowGap));

    imgResizer.Create(*this, X(600), Y(400), platform::PixelsToTwipsX(GetSystemMetrics(SM_CXVSCROLL)),
                      platform::PixelsToTwipsY(GetSystemMetrics(SM_CYHSCROLL)));

    cmdClearList[0].SetToolTipText("Remove current folder.");
    cmdClearList[1].SetToolTipText("Clear folder list.");
    cmdPrevious.SetToolTipText("Previous pic in list.");
    cmdNext.SetToolTipText("Next pic in list.");
    cmdGraphicDisplay.SetToolTipText("Toggle pic display mode.");
    cmdFileListMode.SetToolTipText("Toggle file list mode.");
    // Nothing shown yet.
    cmdOpenPic.SetEnabled(false);
    cmdSetWallpaper.SetEnabled(false);
}

void frmWallpaper::CreateMenus() {
    Graphic_Popup.Create(*this, "Graphic display popup", false);
    Graphic_Popup_BestFit.Create(Graphic_Popup, kBestFitCaption);
    Graphic_Popup_Normal.Create(Graphic_Popup, kNormalCaption);
    zsep0.Create(Graphic_Popup, "-");
    Graphic_Popup_OpenPic.Create(Graphic_Popup, "Open Pic");
    zsep1.Create(Graphic_Popup, "-");
    Graphic_Popup_CenterWin.Create(Graphic_Popup, "Center Window");
    Graphic_Popup_MinSize.Create(Graphic_Popup, "Minimum Size");
    zsep3.Create(Graphic_Popup, "-");
    Graphic_Popup_MorePicTypes.Create(Graphic_Popup, common::kMorePicTypesCaption);
    zsep2.Create(Graphic_Popup, "-");
    Graphic_Popup_About.Create(Graphic_Popup, "About...");
    Wallpaper_Popup.Create(*this, "Set as Wallpaper popup", false);
    Wallpaper_Popup_Centered.Create(Wallpaper_Popup, "&Center");
    Wallpaper_Popup_Tiled.Create(Wallpaper_Popup, "&Tile");
    Wallpaper_Popup_Stretched.Create(Wallpaper_Popup, "&Stretch");

    Graphic_Popup_BestFit.Click = [this] { Graphic_Popup_Normal_Click(); };
    Graphic_Popup_Normal.Click = [this] { Graphic_Popup_Normal_Click(); };
    Graphic_Popup_OpenPic.Click = [this] { cmdOpenPic_Click(); };
    Graphic_Popup_CenterWin.Click = [this] { Graphic_Popup_CenterWin_Click(); };
    Graphic_Popup_MinSize.Click = [this] { Graphic_Popup_MinSize_Click(); };
    Graphic_Popup_MorePicTypes.Click = [this] { Graphic_Popup_MorePicTypes_Click(); };
    Graphic_Popup_About.Click = [] { common::ShowAboutMessage(); };
    Wallpaper_Popup_Centered.Click = [this] { Wallpaper_Popup_Click(common::kStyleCenter); };
    Wallpaper_Popup_Tiled.Click = [this] { Wallpaper_Popup_Click(common::kStyleTile); };
    Wallpaper_Popup_Stretched.Click = [this] { Wallpaper_Popup_Click(common::kStyleStretch); };
}

void frmWallpaper::Form_Load() {
    CreateControls();
    CreateMenus();

    // The lists start in the process's current folder, as they would before any event.
    const bool morePicTypes = common::TextToBool(
        common::GetAppSetting(kHistorySection, common::kMorePicTypesKey, common::BoolText(false), true), false);
    Graphic_Popup_MorePicTypes.SetChecked(morePicTypes);
    PicsFileList.Pattern = common::PicFileSpec(morePicTypes);
    char current[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof current, current);
    if (PicsFolder.SetPath(current)) {
        PicsFileList.SetPath(PicsFolder.Path(), &PicsFolder);
        PicsDrive.SetDrive(PicsFolder.Path(), false);
    }

    cboPicFolder.Change = [this] { cboPicFolder_Change(); };
    cboPicFolder.Click = [this] { cboPicFolder_Click(); };
    cboPicFolder.DropDown = [this] { cboPicFolder_DropDown(); };
    for (int i = 0; i < 2; ++i) cmdClearList[i].Click = [this, i] { cmdClearList_Click(i); };
    PicsDrive.Change = [this] { PicsDrive_Change(); };
    PicsFolder.Change = [this] { PicsFolder_Change(); };
    PicsFileList.PathChange = [this] { PicsFileList_PathChange(); };
    PicsFileList.Click = [this] { PicsFileList_Click(); };
    List1.Click = [this] { List1_Click(); };
    auto openOnEnter = [this](PickListBox& list) {
        list.KeyDown = [this, &list](int key) {
            if (key == VK_RETURN && list.ListIndex() >= 0) cmdOpenPic_Click();
        };
        list.MouseUp = [this, &list](int button) {
            if (button == 2 && list.ListIndex() >= 0) cmdOpenPic_Click();
        };
    };
    openOnEnter(PicsFileList);
    openOnEnter(List1);
    cmdNext.Click = [this] { cmdNext_Click(); };
    cmdPrevious.Click = [this] { cmdPrevious_Click(); };
    cmdRndSelect.Click = [this] { cmdRndSelect_Click(); };
    cmdOpenPic.Click = [this] { cmdOpenPic_Click(); };
    cmdGraphicDisplay.Click = [this] { Graphic_Popup_Normal_Click(); };
    cmdSetWallpaper.Click = [this] { cmdSetWallpaper_Click(); };
    cmdClearWallpaper.Click = [this] { cmdClearWallpaper_Click(); };
    cmdFileListMode.Click = [this] { cmdFileListMode_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    Pane.RightClick = [this](POINT at) { Graphic_Popup_Show(at); };
    Pane.DblClick = [this] { cmdOpenPic_Click(); };

    // The design state is list mode: the folder controls come with folder mode.
    ShowFolderControls(false);

    const bool hosted = Hosted();
    // 1. and 2. the two situations
    if (hosted) {
        platform::ScreenDC dc;
        platform::SelectedObject font(dc.get(), Font() ? Font() : platform::DefaultFont(Dpi()));
        double widest = 0;
        for (size_t i = 1; i < picFiles_.size(); ++i) {
            List1.AddItem(picFiles_[i]);
            widest = std::max(widest, platform::TextExtent(dc.get(), picFiles_[i]).cx * platform::TwipsPerPixelX());
        }
        long extent = static_cast<long>(platform::RoundHalfEven(widest) / platform::TwipsPerPixelX()) + 6;
        SendMessageA(List1.hWnd(), LB_SETHORIZONTALEXTENT, extent, 0);
        zsep2.SetVisible(false);
        Graphic_Popup_About.SetVisible(false);
        SetCaption(kHostedCaptionStart + platform::App().Title);
    } else {
        cmdFileListMode.SetVisible(false);
        cmdSetWallpaper.Move(cmdFileListMode.Left(), cmdSetWallpaper.Top(),
                             cmdClearWallpaper.Left() - cmdFileListMode.Left());
        cmdCancel.SetText("Exit");
        SetCaption(platform::App().Title);
    }
    // 3. the pattern is set above, before the first listing
    // 4. the history, and the state of its two buttons
    LoadFolderHistory();
    UpdateFolderHistory("", true);
    // 5. a host's own folder when there is no history yet
    if (hosted && cboPicFolder.ListCount() == 0 && !hostPicsFolder_.empty()) {
        PicsDrive.SetDrive(hostPicsFolder_.substr(0, 2), false);
        if (PicsFolder.SetPath(hostPicsFolder_)) PicsFileList.SetPath(hostPicsFolder_, &PicsFolder);
    }
    // 6. the starting mode
    if (HostPicCount() == 0 || folderMode_) {
        cmdFileListMode_Click();
        cmdFileListMode.SetEnabled(HostPicCount() > 0);
    } else {
        UpdateFileCount();
    }
    // 7. labels and tooltips
    labPicNumber.SetText("");
    labPicInfo.SetText("");
    List1.SetToolTipText(kOpenPicTip);
    PicsFileList.SetToolTipText(kOpenPicTip);
    Pane.Image1.SetToolTipText(kPicToolTip);
    Pane.Pic.SetToolTipText(kPicToolTip);
    // 8. scroll steps and the display mode
    for (platform::ScrollBar* bar : {&Pane.GraphicHScroll, &Pane.GraphicVScroll}) {
        double factor = bar == &Pane.GraphicHScroll ? platform::TwipsPerPixelX() : platform::TwipsPerPixelY();
        bar->SmallChange = SmallScrollStep(factor);
        bar->LargeChange = LargeScrollStep(factor);
    }
    Graphic_Popup_BestFit.SetChecked(true);
    Pane.NormalMode = false;
    platform::SetBusyPointer(false);
    // 9. the minimum size
    MinWindowWidth = kMinimumWidth;
    MinWindowHeight = kMinimumHeight;
    HookWindow(hWnd());
    // 10. default size, centred on the work area
    Move(Left(), Top(), X(kDefaultWidth), Y(kDefaultHeight));
    int divisor = 2;
    common::PlaceFormOnDesktop(*this, divisor);
    Form_Resize();
}

// ---------------------------------------------------------------- picture

void frmWallpaper::ShowPicture(const std::string& path, int index) {
    platform::SetBusyPointer(true);
    Pane.ResetPicDisplay(true);
    Pane.Pic.Tag.clear();
    Pane.SetPicture(platform::Picture());
    std::string error;
    const bool moreTypes = LoadsMorePicTypes();
    platform::Picture picture = ReadAhead.Take(path, moreTypes);
    if (picture.Empty()) {
        ReadAhead.Cancel();
        picture = platform::Picture::Load(path, &error, moreTypes);
    }
    labPicNumber.SetText(PicNumberText(index));
    if (picture.Empty()) {
        cmdOpenPic.SetEnabled(false);
        cmdSetWallpaper.SetEnabled(false);
        labPicInfo.SetText("");
        platform::SetBusyPointer(false);
        // Modal to the program only.
        platform::MsgBox(kLoadErrorStart + path + kLoadErrorEnd + platform::vbCrLf + platform::vbCrLf + error,
                         MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TASKMODAL);
        ReadAheadFrom(index);
        return;
    }
    Pane.Pic.Tag = path;
    shownTransparent_ = picture.HasAlpha();
    picture.Flatten(Pane.Pic.BackColor());
    Pane.SetPicture(std::move(picture));
    Pane.PicWidth = Pane.Image1.Width();
    Pane.PicHeight = Pane.Image1.Height();
    if (Graphic_Popup_Normal.Checked())
        Pane.ShowNormalSize();
    else
        Pane.ShowBestFit();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    double bytes = 0;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        bytes = static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    // In the window's own scale, which is the system's only while the window is on a monitor of
    // the system's DPI.
    long pixelWidth = static_cast<long>(platform::RoundHalfEven(Pane.PicWidth / TwipsPerPixel()));
    long pixelHeight = static_cast<long>(platform::RoundHalfEven(Pane.PicHeight / TwipsPerPixel()));
    common::GetDesktopSize(false, true, "w");
    labPicInfo.SetText(PicInfoText(pixelWidth, pixelHeight, common::DesktopArea.Width, common::DesktopArea.Height,
                                   bytes));
    Pane.Image1.SetVisible(true);
    Pane.Image1.Refresh();
    labPicNumber.Refresh();
    labPicInfo.Refresh();
    cmdOpenPic.SetEnabled(true);
    cmdSetWallpaper.SetEnabled(true);
    platform::SetBusyPointer(false);
    ReadAheadFrom(index);
}

void frmWallpaper::ReadAheadFrom(int index) {
    PickListBox& list = SteppingList();
    const int count = list.ListCount();
    int next = -1;
    switch (step_) {
        case Step::Previous:
            next = PreviousIndex(index, count);
            break;
        case Step::Random:
            randomPick_ = next = RandomIndex(index, folderMode_ ? count : HostPicCount(), [] { return platform::Rnd(); });
            randomPickFrom_ = index;
            break;
        case Step::Next:
            next = NextIndex(index, count);
            break;
    }
    if (next < 0 || next >= count || next == index) {
        ReadAhead.Cancel();
        return;
    }
    ReadAhead.Start(PicturePath(next), LoadsMorePicTypes());
}

void frmWallpaper::Graphic_Popup_Normal_Click() {
    Graphic_Popup_Normal.SetChecked(!Graphic_Popup_Normal.Checked());
    Graphic_Popup_BestFit.SetChecked(!Graphic_Popup_BestFit.Checked());
    cmdGraphicDisplay.SetText(Graphic_Popup_Normal.Checked() ? kNormalCaption : kBestFitCaption);
    Pane.NormalMode = Graphic_Popup_Normal.Checked();
    if (Pane.PictureLoaded()) {
        Pane.ResetPicDisplay(true);
        Pane.ShowByMode();
    }
}

void frmWallpaper::Graphic_Popup_Show(POINT at) {
    Graphic_Popup_OpenPic.SetEnabled(common::FileExists(Pane.Pic.Tag));
    Graphic_Popup_CenterWin.SetEnabled(!IsIconic(hWnd()) && !IsZoomed(hWnd()));
    seams::ShowPopupMenu(Graphic_Popup, at, TPM_RIGHTBUTTON);
}

void frmWallpaper::cmdOpenPic_Click() {
    const std::string& path = Pane.Pic.Tag;
    if (common::FileExists(path))
        common::OpenWithShell(path, false, false);
    else
        seams::Beep();
}

void frmWallpaper::cmdSetWallpaper_Click() {
    POINT at{platform::TwipsToPixelsX(Frame1.Left() + cmdSetWallpaper.Left()) + 1,
             platform::TwipsToPixelsY(Frame1.Top() + cmdSetWallpaper.Top()) + 1};
    ClientToScreen(hWnd(), &at);
    seams::ShowPopupMenu(Wallpaper_Popup, at, TPM_RIGHTBUTTON);
}

void frmWallpaper::Wallpaper_Popup_Click(long style) {
    if (shownTransparent_) {
        std::string error;
        platform::Picture picture = platform::Picture::Load(Pane.Pic.Tag, &error, true);
        if (!picture.Empty()) {
            picture.Flatten(GetSysColor(COLOR_BACKGROUND));
            common::SetWallpaper(common::WallpaperFilePath(), picture, style, false);
            return;
        }
    }
    common::SetWallpaper(common::WallpaperFilePath(), Pane.Picture(), style, false);
}

// The file list shows the folder again with the other patterns, and keeps the choice.
void frmWallpaper::Graphic_Popup_MorePicTypes_Click() {
    const bool on = !Graphic_Popup_MorePicTypes.Checked();
    Graphic_Popup_MorePicTypes.SetChecked(on);
    common::SaveAppSetting(kHistorySection, common::kMorePicTypesKey, common::BoolText(on), true);
    PicsFileList.Pattern = common::PicFileSpec(on);
    PicsFileList.Refresh();
    PicsFileList_PathChange();
}

void frmWallpaper::cmdClearWallpaper_Click() { common::ClearWallpaper(common::WallpaperFilePath(), false); }

// ---------------------------------------------------------------- folder history

void frmWallpaper::LoadFolderHistory() {
    for (int i = 0; i < kHistoryCount; ++i) {
        std::string folder = platform::Trim(common::GetAppSetting(kHistorySection, HistoryKey(i), "", true));
        if (!folder.empty()) cboPicFolder.AddItem(folder);
    }
    if (cboPicFolder.ListCount() > 0) cboPicFolder.SetListIndex(0);
}

void frmWallpaper::UpdateFolderHistory(const std::string& folder, bool addFolder) {
    if (!platform::Trim(folder).empty()) {
        std::vector<std::string> items;
        for (int i = 0, n = cboPicFolder.ListCount(); i < n; ++i) items.push_back(cboPicFolder.List(i));
        int removed = UpdateHistoryList(items, folder, addFolder);
        if (removed >= 0) cboPicFolder.RemoveItem(removed);
        if (addFolder) {
            cboPicFolder.AddItem(folder, 0);
            // Selected without the Click of a user's choice: the lists are there already.
            SendMessageA(cboPicFolder.hWnd(), CB_SETCURSEL, 0, 0);
            cboPicFolder_Change();
        } else {
            cboPicFolder_Change();
        }
    }
    cmdClearList[0].SetEnabled(!cboPicFolder.Text().empty());
    cmdClearList[1].SetEnabled(cboPicFolder.ListCount() > 0);
}

void frmWallpaper::cboPicFolder_Change() {
    std::string text = cboPicFolder.Text();
    bool fits = common::TextFitsControl(text, cboPicFolder, GetSystemMetrics(SM_CXVSCROLL));
    std::string tip = fits ? "" : text;
    if (tip != cboPicFolder.ToolTipText()) cboPicFolder.SetToolTipText(tip);
}

void frmWallpaper::cboPicFolder_DropDown() { common::FitDropDownWidth(cboPicFolder); }

void frmWallpaper::cboPicFolder_Click() {
    int index = cboPicFolder.ListIndex();
    if (index < 0) return;
    std::string item = cboPicFolder.List(index);
    // The edit text follows the list only after this notification.
    cboPicFolder.SetText(item);
    std::string remembered = PicsFileList.Path();
    if (!PicsFolder.SetPath(item)) {
        seams::Beep();
        PicsFolder.SetPath(remembered);
    }
    cboPicFolder_Change();
    // A file list that has just moved to another folder has just read it: reading a folder of
    // 100,000 pictures twice doubled the wait for the count line.
    if (SameText(PicsFileList.Path(), remembered)) PicsFileList.Refresh();
    UpdateFileCount();
}

void frmWallpaper::cmdClearList_Click(int index) {
    if (index == 0) {
        if (platform::MsgBox(kRemoveFolderQuestion, platform::kMsgQuestion | MB_DEFBUTTON1) == IDYES)
            UpdateFolderHistory(cboPicFolder.Text(), false);
        return;
    }
    if (platform::MsgBox(kClearListQuestion, platform::kMsgQuestion | MB_DEFBUTTON2) != IDYES) return;
    cboPicFolder.Clear();
    UpdateFolderHistory("", true);
    for (int i = 0; i < kHistoryCount; ++i) common::DeleteAppSetting(kHistorySection, HistoryKey(i), true);
}

// ---------------------------------------------------------------- navigation

void frmWallpaper::PicsDrive_Change() {
    std::string remembered = PicsFolder.Path().substr(0, 2);
    if (!PicsFolder.SetPath(PicsDrive.Drive())) {
        seams::Beep();
        PicsDrive.SetDrive(remembered, false);
    }
}

void frmWallpaper::PicsFolder_Change() {
    std::string remembered = PicsFileList.Path();
    if (!PicsFileList.SetPath(PicsFolder.Path(), &PicsFolder)) {
        seams::Beep();
        PicsFolder.SetPath(remembered);
    }
    // The drive list shows the drive of the folder, wherever the folder came from.
    PicsDrive.SetDrive(PicsFolder.Path(), false);
}

void frmWallpaper::PicsFileList_PathChange() {
    UpdateFileCount();
    if (PicsFileList.ListCount() > 0) UpdateFolderHistory(PicsFileList.Path(), true);
}

void frmWallpaper::PicsFileList_Click() {
    int index = PicsFileList.ListIndex();
    if (index >= 0) ShowPicture(WithBackslash(PicsFileList.Path()) + PicsFileList.List(index), index);
}

void frmWallpaper::List1_Click() {
    int index = List1.ListIndex();
    if (index >= 0) ShowPicture(List1.List(index), index);
}

// The host's list holds what the host searched for, with its own option.
bool frmWallpaper::LoadsMorePicTypes() const { return Graphic_Popup_MorePicTypes.Checked() || !folderMode_; }

std::string frmWallpaper::PicturePath(int index) {
    if (folderMode_) return WithBackslash(PicsFileList.Path()) + PicsFileList.List(index);
    return List1.List(index);
}

void frmWallpaper::UpdateFileCount() {
    int count = folderMode_ ? PicsFileList.ListCount() : List1.ListCount();
    txtFileList.SetText(FileCountText(count, folderMode_ ? PicsFileList.Path() : hostPicsFolder_));
    cmdPrevious.SetEnabled(count > 0);
    cmdNext.SetEnabled(count > 0);
    cmdRndSelect.SetEnabled(count > 1);
    labPicNumber.SetText("");
    // Another list: what was read ahead or drawn belongs to the one before.
    ReadAhead.Cancel();
    randomPick_ = -1;
}

PickListBox& frmWallpaper::SteppingList() {
    if (folderMode_) return PicsFileList;
    return List1;
}

void frmWallpaper::cmdNext_Click() {
    PickListBox& list = SteppingList();
    int index = NextIndex(list.ListIndex(), list.ListCount());
    if (index >= 0) list.SetListIndex(index);
}

void frmWallpaper::cmdPrevious_Click() {
    PickListBox& list = SteppingList();
    int index = PreviousIndex(list.ListIndex(), list.ListCount());
    step_ = Step::Previous;
    if (index >= 0) list.SetListIndex(index);
    step_ = Step::Next;
}

void frmWallpaper::cmdRndSelect_Click() {
    PickListBox& list = SteppingList();
    int count = folderMode_ ? list.ListCount() : HostPicCount();
    int index = randomPick_ >= 0 && randomPickFrom_ == list.ListIndex() && randomPick_ < list.ListCount()
                    ? randomPick_
                    : RandomIndex(list.ListIndex(), count, [] { return platform::Rnd(); });
    randomPick_ = -1;
    step_ = Step::Random;
    if (index >= 0) list.SetListIndex(index);
    step_ = Step::Next;
}

void frmWallpaper::ShowFolderControls(bool show) {
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &cboPicFolder, &cmdClearList[0], &cmdClearList[1], &PicsDrive, &PicsFolder, &PicsFileList})
        control->SetVisible(show);
    List1.SetVisible(!show);
}

void frmWallpaper::cmdFileListMode_Click() {
    if (cmdFileListMode.Text() == kFolderCaption) {
        cmdFileListMode.SetText(kFilesCaption);
        folderMode_ = true;
        Form_Resize();
        ShowFolderControls(true);
    } else {
        cmdFileListMode.SetText(kFolderCaption);
        folderMode_ = false;
        Form_Resize();
        ShowFolderControls(false);
    }
    UpdateFileCount();
}

// ---------------------------------------------------------------- window

void frmWallpaper::Graphic_Popup_CenterWin_Click() {
    common::GetDesktopSize(true, false, "w");
    const common::DesktopAreaRecord& area = common::DesktopArea;
    Move(area.Left + (area.Width - Width()) / 2, area.Top + (area.Height - Height()) / 2);
}

void frmWallpaper::Graphic_Popup_MinSize_Click() {
    if (IsIconic(hWnd()) || IsZoomed(hWnd())) ShowWindow(hWnd(), SW_RESTORE);
    Move(Left(), Top(), X(kMinimumWidth), Y(kMinimumHeight));
}

void frmWallpaper::cmdCancel_Click() { Unload(); }

void frmWallpaper::Form_DpiChanged() { Pane.DpiChanged(); }

void frmWallpaper::Form_Resize() {
    if (Minimized()) {
        // A hosted browser is modal over its host: it may not disappear into the taskbar.
        if (Hosted()) ShowWindow(hWnd(), SW_RESTORE);
        return;
    }
    LayoutInput in;
    in.Width = ScaleWidth();
    in.Height = ScaleHeight();
    // The layout's gaps are given at 96 DPI.
    in.TwipsPerPixelX = platform::DesignTwips(1);
    in.TwipsPerPixelY = platform::DesignTwips(1);
    in.FolderMode = folderMode_;
    in.FileListTextHeight = txtFileList.Height();
    in.PicNumberWidth = labPicNumber.Width();
    in.PicInfoWidth = labPicInfo.Width();
    in.PicInfoHeight = labPicInfo.Height();
    in.FrameWidth = Frame1.Width();
    in.FrameHeight = Frame1.Height();
    in.HistoryHeight = cboPicFolder.Height();
    in.ClearListWidth0 = cmdClearList[0].Width();
    in.ClearListWidth1 = cmdClearList[1].Width();
    in.DriveHeight = PicsDrive.Height();
    in.ResizerWidth = imgResizer.Width();
    in.ResizerHeight = imgResizer.Height();
    BrowserLayout out = LayoutBrowser(in);

    Place(txtFileList, out.FileListText);
    labPicNumber.Move(out.PicNumberLeft, out.PicNumberTop);
    imgResizer.SetVisible(!IsZoomed(hWnd()));
    imgResizer.Move(out.Resizer.Left, out.Resizer.Top);
    Frame1.Move(out.Frame.Left, out.Frame.Top);
    labPicInfo.Move(out.PicInfo.Left, out.PicInfo.Top);
    if (folderMode_) {
        // Combo boxes take their drop-down height as their height.
        Place(cboPicFolder, {out.History.Left, out.History.Top, out.History.Width, Y(kHistoryDropHeight)});
        cmdClearList[0].Move(out.ClearList0.Left, out.ClearList0.Top);
        cmdClearList[1].Move(out.ClearList1.Left, out.ClearList1.Top);
        Place(PicsDrive, {out.Drive.Left, out.Drive.Top, out.Drive.Width, Y(kDriveDropHeight)});
        Place(PicsFolder, out.Folder);
        PicsFolder.ScrollToSelection();
        Place(PicsFileList, out.Files);
        cboPicFolder_Change();
    } else {
        Place(List1, out.List);
    }
    Place(Pane.Pic, out.Pic);
}

void frmWallpaper::Form_Unload() {
    for (int i = 0; i < kHistoryCount; ++i)
        common::SaveAppSetting(kHistorySection, HistoryKey(i), i < cboPicFolder.ListCount() ? cboPicFolder.List(i) : "",
                               true);
    Pane.SetPicture(platform::Picture());
    ReadAhead.Cancel();
    UnhookWindow(hWnd());
}

LRESULT frmWallpaper::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item && static_cast<int>(item->CtlID) == PicsFolder.Id()) {
                PicsFolder.DrawItem(*item);
                return TRUE;
            }
            break;
        }
        case WM_RBUTTONUP:
            // The window's background: the About box, for the program's own window only.
            if (!Hosted()) common::ShowAboutMessage();
            return 0;
        case WM_COMMAND:
            if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
                cmdCancel_Click();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace picture_browser
