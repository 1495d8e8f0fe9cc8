// Forms and controls: the small form runtime the programs are written against.
// A form is a top-level window whose events arrive as virtual members; each control
// forwards its events to std::function members that the owning form wires to its
// own handlers (cmdOK.Click = [this] { cmdOK_Click(); }).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;

// Reasons a form is asked to unload, as the form runtime numbers them.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

// Twips <-> pixels at the system's DPI. A form's own geometry follows the DPI of its window.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// Layout figures are given in pixels as they are at 96 DPI (100 % scale), where a pixel is
// 15 twips; the form runtime turns twips into the pixels of each window's DPI, so a layout
// given this way grows with the display scale.
constexpr int kDesignDpi = 96;
constexpr int DesignTwips(int pixels) { return pixels * 15; }

// The DPI of the monitor a window is on (the system's where the system cannot tell).
int WindowDpi(HWND hwnd);
// A figure meant at 96 DPI in pixels at `dpi`.
int ScaleToDpi(int pixels, int dpi);

// The suite's dialog font (the system's message font), sized for `dpi` (0: the system's).
HFONT DefaultFont(int dpi = 0);
// An icon of the program's resources (or the system's application icon) at the size the
// system asks for: `small` the small icon's (16 pixels at 96 DPI), else the large one's (32).
HICON LoadProgramIcon(int resource, bool small, int dpi = 0);
// A bitmap of the program's resources, drawn at 96 DPI, scaled smoothly to `dpi`.
HBITMAP LoadProgramBitmap(int resource, int dpi);

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    HWND hWnd() const { return hwnd_; }
    int Id() const { return id_; }
    Form* Parent() const { return form_; }
    int Index = 0;    // position in a control array
    std::string Tag;  // free text the program keeps with the control

    // Geometry in twips, relative to the form's client area.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width = -1, int height = -1);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    // Caption or text, whichever the control has.
    std::string Text() const;
    void SetText(const std::string& text);
    std::string ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text);
    HFONT Font() const;
    void SetFont(HFONT font);
    void SetFocus();
    // Repaints the control at once.
    void Refresh();
    // Moves the control into a container control (a PictureBox); its geometry is then
    // relative to the container's inner area.
    void SetContainer(Control& container);

protected:
    friend class Form;
    void Create(Form& form, const char* className, DWORD style, DWORD exStyle, const std::string& text, int left,
                int top, int width, int height);
    virtual void OnCommand(int /*code*/) {}
    virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
    virtual void OnScroll(int /*request*/) {}

    HWND hwnd_ = nullptr;
    int id_ = 0;
    Form* form_ = nullptr;
    std::string toolTip_;
};

class CommandButton : public Control {
public:
    void Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                bool isDefault = false);
    std::function<void()> Click;
    // Sends a real click, as a user's would arrive.
    void PerformClick();

protected:
    void OnCommand(int code) override;
};

class CheckBox : public Control {
public:
    void Create(Form& form, const std::string& caption, int left, int top, int width, int height);
    // 0 unchecked, 1 checked; a change made by the program raises Click, as a user's does.
    int Value() const;
    void SetValue(int value);
    std::function<void()> Click;

protected:
    void OnCommand(int code) override;
};

class OptionButton : public Control {
public:
    // The first button of a group passes firstInGroup.
    void Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                bool firstInGroup = false);
    bool Value() const;
    // Selecting a button clears the others of its group and raises Click.
    void SetValue(bool value);
    std::function<void()> Click;

protected:
    void OnCommand(int code) override;
};

class Label : public Control {
public:
    void Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                DWORD alignment = SS_LEFT);
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void OnCommand(int code) override;
};

class Frame : public Control {
public:
    void Create(Form& form, const std::string& caption, int left, int top, int width, int height);
};

// Shows a bitmap or an icon, at its own size.
class Image : public Control {
public:
    void Create(Form& form, int left, int top, int width, int height);
    // The image does not own the handles it shows.
    void SetBitmap(HBITMAP bitmap);
    void SetIcon(HICON icon);
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void OnCommand(int code) override;
};

class TextBox : public Control {
public:
    void Create(Form& form, const std::string& text, int left, int top, int width, int height,
                DWORD extraStyle = 0);
    std::function<void()> Change;

protected:
    void OnCommand(int code) override;
};

class ListControl : public Control {
public:
    void AddItem(const std::string& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    // -1 when nothing is selected. Setting it raises Click, as in the form runtime.
    int ListIndex() const;
    void SetListIndex(int index);
    std::function<void()> Click;

protected:
    explicit ListControl(bool combo) : combo_(combo) {}
    bool combo_;
};

class ComboBox : public ListControl {
public:
    ComboBox() : ListControl(true) {}
    // CBS_DROPDOWN (editable) or CBS_DROPDOWNLIST.
    void Create(Form& form, int left, int top, int width, int dropHeight, DWORD kind = CBS_DROPDOWN);
    std::function<void()> Change;    // the edit text changed
    std::function<void()> DropDown;  // the list is about to drop down

protected:
    void OnCommand(int code) override;
};

class ListBox : public ListControl {
public:
    ListBox() : ListControl(false) {}
    void Create(Form& form, int left, int top, int width, int height, DWORD extraStyle = 0);
    std::function<void()> DblClick;

protected:
    void OnCommand(int code) override;
};

class ScrollBar : public Control {
public:
    void Create(Form& form, bool horizontal, int left, int top, int width, int height);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const;
    void SetRange(int min, int max);
    // A change of value raises Change, whoever made it.
    void SetValue(int value);
    int SmallChange = 1;
    int LargeChange = 1;
    std::function<void()> Change;
    std::function<void()> Scroll;  // thumb being dragged

protected:
    void OnScroll(int request) override;
    int min_ = 0;
    int max_ = 32767;
};

// A container that draws what its Paint handler draws (the background colour otherwise)
// and holds other controls (SetContainer); their notifications reach the form as usual.
class PictureBox : public Control {
public:
    // exStyle WS_EX_CLIENTEDGE gives the sunken border; 0 none.
    void Create(Form& form, int left, int top, int width, int height, DWORD exStyle = WS_EX_CLIENTEDGE);
    // Inner size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    COLORREF BackColor() const { return backColor_; }
    void SetBackColor(COLORREF color);
    std::function<void(HDC)> Paint;  // after the background has been filled
    std::function<void()> Resize;
    // Button: 1 left, 2 right, 4 middle (0 for a move with none); x and y in twips within the box.
    std::function<void(int button, int x, int y)> MouseDown;
    std::function<void(int button, int x, int y)> MouseMove;
    std::function<void(int button, int x, int y)> MouseUp;
    std::function<void()> DblClick;

private:
    static LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    COLORREF backColor_ = GetSysColor(COLOR_BTNFACE);
};

// A window timer owned by a form. Interval 0 or Enabled false stops it.
class Timer {
public:
    void Create(Form& form, int interval, bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> Tick;
    int Id() const { return id_; }

private:
    friend class Form;
    void Apply();
    Form* form_ = nullptr;
    int id_ = 0;
    int interval_ = 0;
    bool enabled_ = false;
};

struct FormStyle {
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int width = 4800;   // twips, outer size
    int height = 3600;
    // Twips; when set, the inner size, with the frame the window has at its DPI around it.
    int clientWidth = 0;
    int clientHeight = 0;
    std::string caption;
};

// A window of fixed size with a caption, a system menu and a minimise box, whose inner area
// is clientWidth x clientHeight pixels at 96 DPI.
FormStyle FixedWindowStyle(int clientWidth, int clientHeight, const std::string& caption);

class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    // Creates the window without showing it and runs Form_Load once.
    void Load();
    bool IsLoaded() const { return hwnd_ != nullptr; }
    void Show();
    // Shows the form modally over the other forms of the program and returns when it
    // has been hidden or unloaded.
    void ShowModal();
    void Hide();
    // Asks Form_QueryUnload (which may cancel), then Form_Unload, then destroys the window.
    // Returns false when the unload was cancelled. A window destroyed from elsewhere (with
    // the window that holds it) runs Form_Unload too and leaves the form unloaded.
    bool Unload(UnloadMode mode = vbFormCode);

    HWND hWnd() const { return hwnd_; }
    bool Visible() const;
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Minimized() const;

    // Outer geometry in twips, screen coordinates.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width = -1, int height = -1);
    // Client area in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    // Sizes the window so that its client area is width x height twips.
    void SetClientSize(int width, int height);
    // The DPI the form is laid out for: its monitor's.
    int Dpi() const { return dpi_; }
    // The form's own pixels <-> twips, at its DPI.
    int PixelsToTwips(int pixels) const;
    int TwipsToPixels(int twips) const;
    double TwipsPerPixel() const { return 1440.0 / dpi_; }

    HFONT Font() const { return font_; }
    void SetFont(HFONT font) { font_ = font; }

    // Every form of the program that is loaded now.
    static const std::vector<Form*>& LoadedForms();
    // The window class of every form, by which a program finds its own windows.
    static const char* WindowClass();

    // Runs the program's message loop until its last form has unloaded.
    static int RunMessageLoop();

protected:
    virtual FormStyle Style() const { return {}; }
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    // Return true to cancel the unload.
    virtual bool Form_QueryUnload(UnloadMode /*mode*/) { return false; }
    virtual void Form_Unload() {}
    // After the form has moved to a monitor of another DPI and the runtime has scaled its
    // controls, fonts and size; a form that measures text lays itself out again here.
    virtual void Form_DpiChanged() {}
    // Messages the form runtime does not handle itself; the default passes them on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class Control;
    friend class Timer;
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    int Register(Control* control);
    int RegisterTimer(Timer* timer);
    Control* FindControl(HWND hwnd, int id) const;
    HWND ToolTip();
    void Detach();
    // `changed`: the desktop behind the form has just changed; otherwise its timer has come.
    void RepaintAfterDesktop(bool changed);
    void ChangeDpi(int dpi, const RECT* suggested);

    HWND hwnd_ = nullptr;
    HWND toolTip_ = nullptr;
    HFONT font_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    int modalDepth_ = 0;
    int desktopRepaints_ = 0;
    int dpi_ = kDesignDpi;
    bool loading_ = false;
};

}  // namespace platform
