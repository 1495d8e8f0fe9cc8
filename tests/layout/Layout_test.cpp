// Every window that has a layout of its own, at the display scale the Wine prefix was started
// with (SORVITA_DPI: 96, 120, 144 or 192). Run at 96 DPI, the test notes each window's figures
// in the folder SORVITA_LAYOUT_FIGURES; run at another DPI, it finds them there and expects
// them grown by DPI/96. At every DPI every caption fits its control.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "backdrop_changer/frmInfoWindow.h"
#include "backdrop_changer/frmSSetup.h"
#include "common/About.h"
#include "desk_commander/MainForm.h"
#include "paste_inspector/MainForm.h"
#include "picture_browser/PicturePane.h"
#include "picture_browser/frmWallpaper.h"
#include "platform/App.h"
#include "platform/BitmapFile.h"
#include "platform/Text.h"
#include "slide_saver/frmSSetup.h"
#include "support/TestSupport.h"

namespace {

constexpr int kTolerance = 3;  // pixels

int ExpectedDpi() {
    const char* text = std::getenv("SORVITA_DPI");
    return text && *text ? std::atoi(text) : 96;
}

// A window's inner size and each visible control's place and size within it, in pixels.
struct Figures {
    SIZE client{};
    int fontHeight = 0;  // of the dialog font at the window's DPI
    struct Child {
        std::string className;
        RECT rect;
    };
    std::vector<Child> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
    auto* collected = reinterpret_cast<std::vector<HWND>*>(data);
    collected->push_back(child);
    return TRUE;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// The window's controls visible within it, whether or not the window itself is shown; not the
// parts the system's controls are made of (a combo box's edit field), which they place
// themselves.
std::vector<HWND> VisibleChildren(HWND window) {
    std::vector<HWND> all, visible;
    EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND child : all) {
        HWND parent = GetParent(child);
        if (parent != window && ClassOf(parent) != "SorvitaPictureBox") continue;
        bool shown = true;
        for (HWND h = child; h && h != window; h = GetParent(h))
            if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) shown = false;
        if (shown) visible.push_back(child);
    }
    return visible;
}

int FontHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

Figures Measure(HWND window, int dpi) {
    Figures figures;
    figures.fontHeight = FontHeight(platform::DefaultFont(dpi));
    RECT client{};
    GetClientRect(window, &client);
    figures.client = {client.right, client.bottom};
    for (HWND child : VisibleChildren(window)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        figures.children.push_back({ClassOf(child), r});
    }
    return figures;
}

std::string FiguresPath(const std::string& window) {
    const std::string folder = testing_support::WinePathFromEnv("SORVITA_LAYOUT_FIGURES");
    return (folder.empty() ? std::string(".") : folder) + "\\layout-96dpi-" + window + ".txt";
}

void Save(const std::string& window, const Figures& figures) {
    std::ofstream out(FiguresPath(window));
    out << figures.client.cx << ' ' << figures.client.cy << ' ' << figures.fontHeight << '\n';
    for (const auto& child : figures.children)
        out << child.className << ' ' << child.rect.left << ' ' << child.rect.top << ' ' << child.rect.right << ' '
            << child.rect.bottom << '\n';
}

bool Read(const std::string& window, Figures& figures) {
    std::ifstream in(FiguresPath(window));
    if (!(in >> figures.client.cx >> figures.client.cy >> figures.fontHeight)) return false;
    Figures::Child child;
    while (in >> child.className >> child.rect.left >> child.rect.top >> child.rect.right >> child.rect.bottom)
        figures.children.push_back(child);
    return true;
}

int Scaled(long figure, int dpi, int from = 96) { return MulDiv(figure, dpi, from); }

// `now` is `before` (laid out at `fromDpi`) grown to `dpi`, within the tolerance. A window
// that sizes controls to their texts and stacks them under its combo boxes (`followsText`)
// may be off by as much more as its font and its combo boxes are: a font of 11 pixels at
// 96 DPI has 17 at 144, 3 % more than the scale, the widths of hinted letters follow their
// height only within some 5 %, and a combo box is as high as the system makes it for its
// font, with a border that does not grow under Wine.
void ExpectScaled(const Figures& before, const Figures& now, int dpi, int fromDpi, bool followsText,
                  const std::string& what) {
    const double fontSlack =
        followsText ? std::abs(now.fontHeight / (before.fontHeight * dpi / static_cast<double>(fromDpi)) - 1) + 0.05
                    : 0;
    long comboSlack = 0;
    if (followsText && now.children.size() == before.children.size())
        for (size_t i = 0; i < now.children.size(); ++i)
            if (now.children[i].className == "ComboBox")
                comboSlack += std::abs(now.children[i].rect.bottom - now.children[i].rect.top -
                                       Scaled(before.children[i].rect.bottom - before.children[i].rect.top, dpi, fromDpi));
    auto within = [&](long actual, long figure, const std::string& which) {
        const double tolerance = kTolerance + comboSlack + std::ceil(fontSlack * std::abs(figure) * dpi / fromDpi);
        EXPECT_NEAR(actual, Scaled(figure, dpi, fromDpi), tolerance) << which;
    };
    within(now.client.cx, before.client.cx, what + ": inner width");
    within(now.client.cy, before.client.cy, what + ": inner height");
    ASSERT_EQ(now.children.size(), before.children.size()) << what << ": visible controls";
    for (size_t i = 0; i < now.children.size(); ++i) {
        const RECT& b = before.children[i].rect;
        const RECT& n = now.children[i].rect;
        const std::string control = what + ": control " + std::to_string(i) + " (" + now.children[i].className + ")";
        EXPECT_EQ(now.children[i].className, before.children[i].className) << control;
        within(n.left, b.left, control + " left");
        within(n.top, b.top, control + " top");
        within(n.right - n.left, b.right - b.left, control + " width");
        // A combo box is as high as the system makes it for its font, with a border that does
        // not grow with the scale.
        if (now.children[i].className != "ComboBox") within(n.bottom - n.top, b.bottom - b.top, control + " height");
    }
}

// Every caption of a button, check box, option button, frame or label, measured in the
// control's own font, fits inside the control: wrapped over the lines the control has room for
// where it wraps, on one line where it does not.
void ExpectCaptionsFit(HWND window, int dpi, const std::string& what) {
    for (HWND child : VisibleChildren(window)) {
        const std::string cls = ClassOf(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const std::wstring text = testing_support::WindowTextW(child);
        if (text.empty() || (cls != "Button" && cls != "Static")) continue;
        RECT r{};
        GetClientRect(child, &r);
        UINT format = DT_CALCRECT;
        int room = r.right;
        bool wraps = false;
        if (cls == "Button") {
            const LONG type = style & BS_TYPEMASK;
            const bool box = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
                             type == BS_RADIOBUTTON || type == BS_AUTO3STATE || type == BS_3STATE;
            // The box and the gap after it; a frame's caption starts in from its edge; a push
            // button keeps its edges.
            if (box) room -= MulDiv(12, dpi, 96) + 1 + MulDiv(4, dpi, 96);
            else if (type == BS_GROUPBOX) room -= MulDiv(12, dpi, 96);
            else room -= MulDiv(4, dpi, 96);
            wraps = (style & BS_MULTILINE) != 0;
        } else {
            if ((style & SS_TYPEMASK) > SS_RIGHT) continue;  // pictures, icons, simple or cut texts
            wraps = true;  // a left, centred or right label wraps at word breaks
            if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        }
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, room, 0};
        DrawTextW(dc, text.c_str(), -1, &needed, format | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        const std::string control = what + ": \"" + platform::FromWide(text) + "\" (" + cls + ")";
        EXPECT_LE(needed.right, room) << control << " is cut at the side";
        // A frame's caption stands on its top edge, half above the frame's inside.
        const int height = cls == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX ? metrics.tmHeight : r.bottom;
        EXPECT_LE(needed.bottom, height) << control << " is cut at the bottom";
    }
}

// With SORVITA_LAYOUT_SHOTS naming a folder, each window is also shown and its picture kept
// there as a bitmap file, for a person to look at.
void KeepPicture(platform::Form& form, const std::string& name, int dpi) {
    const std::string folder = testing_support::WinePathFromEnv("SORVITA_LAYOUT_SHOTS");
    if (folder.empty()) return;
    ShowWindow(form.hWnd(), SW_SHOWNOACTIVATE);
    const testing_support::ScreenShot shot = testing_support::CaptureWindow(form.hWnd());
    std::vector<std::uint8_t> row(static_cast<size_t>(shot.width) * 4);
    std::ofstream out(folder + "\\" + name + "-" + std::to_string(dpi) + "dpi.bmp", std::ios::binary);
    platform::WriteBitmap(
        shot.width, shot.height,
        [&](int y) {
            for (int x = 0; x < shot.width; ++x) {
                const COLORREF c = shot.At(x, y);
                row[x * 4] = GetBValue(c), row[x * 4 + 1] = GetGValue(c), row[x * 4 + 2] = GetRValue(c);
            }
            return row.data();
        },
        [&](const void* data, size_t size) {
            out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
            return out.good();
        });
}

// A window of each kind, loaded as its program loads it.
struct WindowKind {
    const char* name;
    std::function<std::unique_ptr<platform::Form>()> open;
    bool followsText = false;  // sizes controls to their texts
    bool placesItself = false;  // keeps to a corner of the work area, as wide as its text
};

std::unique_ptr<platform::Form> Loaded(std::unique_ptr<platform::Form> form) {
    form->Load();
    testing_support::PumpMessages();
    return form;
}

const WindowKind kWindows[] = {
    {"BackdropChangerSetup", [] { return Loaded(std::make_unique<backdrop_changer::frmSSetup>()); }},
    {"SlideSaverSetup", [] { return Loaded(std::make_unique<slide_saver::frmSSetup>()); }},
    {"DeskCommander", [] { return Loaded(std::make_unique<desk_commander::MainForm>()); }},
    {"PasteInspector", [] { return Loaded(std::make_unique<paste_inspector::MainForm>()); }},
    {"ImageGallery",
     [] {
         static std::vector<std::string> files;
         static bool folderMode = false;
         return Loaded(std::make_unique<picture_browser::frmWallpaper>(files, folderMode, ""));
     },
     true},
    {"InformationWindow",
     [] {
         backdrop_changer::frmInfoWindow::Host host;
         host.active = true;
         auto info = Loaded(std::make_unique<backdrop_changer::frmInfoWindow>(host));
         auto& window = static_cast<backdrop_changer::frmInfoWindow&>(*info);
         window.SetTimeLeft("5:59:59");
         window.Timer1_Timer();  // as its next tick lays it out
         return info;
     },
     true, true},
    {"About", [] { return Loaded(std::make_unique<common::About>()); }, true},
};

class Layout : public ::testing::TestWithParam<WindowKind> {
protected:
    void SetUp() override { platform::App().Title = "Sorvita Layout Test"; }
    void TearDown() override {
        if (form && form->IsLoaded()) {
            boxes.Answer(IDNO);
            form->Unload();
        }
        form.reset();
        testing_support::PumpMessages();
    }
    testing_support::MsgBoxRecorder boxes;
    std::unique_ptr<platform::Form> form;
};

}  // namespace

TEST(LayoutScale, TheSystemRunsAtTheDpiAskedForAndTheProgramIsAwareOfIt) {
    EXPECT_EQ(platform::SystemDpi(), ExpectedDpi());
    // Looked up by name: the functions are newer than the systems the build targets.
    HMODULE user = GetModuleHandleA("user32.dll");
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using GetAwareness = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    auto context = reinterpret_cast<GetContext>(
        reinterpret_cast<void (*)()>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    auto awareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void (*)()>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context && awareness);
    EXPECT_EQ(awareness(context()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST_P(Layout, GrowsWithTheDisplayScaleAndEveryCaptionFits) {
    const int dpi = ExpectedDpi();
    form = GetParam().open();
    ASSERT_TRUE(form->IsLoaded());
    EXPECT_EQ(form->Dpi(), dpi);
    const Figures now = Measure(form->hWnd(), dpi);
    ASSERT_FALSE(now.children.empty());
    if (dpi == 96) {
        Save(GetParam().name, now);
    } else {
        Figures before;
        ASSERT_TRUE(Read(GetParam().name, before)) << "no figures at 96 DPI in " << FiguresPath(GetParam().name);
        ExpectScaled(before, now, dpi, 96, GetParam().followsText, GetParam().name);
    }
    ExpectCaptionsFit(form->hWnd(), dpi, GetParam().name);
    KeepPicture(*form, GetParam().name, dpi);
}

// Moved to a monitor of a quarter again the DPI, a window takes the size the system suggests and
// lays itself out again, its fonts grown with it. (More would make the tallest window taller than
// the test's screen, and the system caps a window at about the screen's size.)
TEST_P(Layout, MovedToAMonitorOfAnotherDpiTakesTheSuggestedSizeAndLaysOutAgain) {
    form = GetParam().open();
    const int dpi = form->Dpi(), newDpi = dpi * 5 / 4;
    const Figures before = Measure(form->hWnd(), dpi);
    // The system suggests the window's frame around the inner area grown; under Wine, which
    // does not move the window between monitors, the frame keeps its size.
    RECT outer{};
    GetWindowRect(form->hWnd(), &outer);
    const int frameWidth = outer.right - outer.left - before.client.cx;
    const int frameHeight = outer.bottom - outer.top - before.client.cy;
    RECT suggested{outer.left + 10, outer.top + 20,
                   outer.left + 10 + frameWidth + Scaled(before.client.cx, newDpi, dpi),
                   outer.top + 20 + frameHeight + Scaled(before.client.cy, newDpi, dpi)};
    SendMessageA(form->hWnd(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
    testing_support::PumpMessages();
    RECT taken{};
    GetWindowRect(form->hWnd(), &taken);
    if (!GetParam().placesItself) {
        EXPECT_TRUE(EqualRect(&taken, &suggested))
            << taken.left << "," << taken.top << " " << taken.right - taken.left << "x" << taken.bottom - taken.top;
    }
    EXPECT_EQ(form->Dpi(), newDpi);
    ExpectScaled(before, Measure(form->hWnd(), newDpi), newDpi, dpi, GetParam().followsText, GetParam().name);
    ExpectCaptionsFit(form->hWnd(), newDpi, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, Layout, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowKind>& info) { return std::string(info.param.name); });

// A picture at its own size covers its own pixels on the screen, whatever the scale, also in
// a window whose DPI is not the system's.
TEST(LayoutScale, PictureAtItsOwnSizeCoversItsPixels) {
    testing_support::TempFolder folder("layout pictures");
    const std::string path = folder.File("photo.bmp");
    testing_support::WriteBmp(path, 640, 480);
    struct PaneForm : platform::Form {
        picture_browser::PicturePane Pane;
        void Form_Load() override { Pane.Create(*this, 0, 0, platform::DesignTwips(400), platform::DesignTwips(300)); }
        void Form_DpiChanged() override { Pane.DpiChanged(); }  // as the programs' forms do
    } form;
    form.Load();
    form.Pane.SetPicture(platform::Picture::Load(path));
    form.Pane.PicWidth = form.Pane.Image1.Width();
    form.Pane.PicHeight = form.Pane.Image1.Height();
    form.Pane.NormalMode = true;
    form.Pane.ShowNormalSize();
    // Then on a monitor of another DPI, as the window runtime tells a form of it.
    for (int dpi : {form.Dpi(), form.Dpi() == 96 ? 144 : 96}) {
        if (dpi != form.Dpi()) SendMessageA(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        RECT r{};
        GetWindowRect(form.Pane.Image1.hWnd(), &r);
        EXPECT_EQ(r.right - r.left, 640) << "at " << dpi << " DPI";
        EXPECT_EQ(r.bottom - r.top, 480) << "at " << dpi << " DPI";
        EXPECT_FALSE(form.Pane.Stretch());
    }
    form.Unload();
}
