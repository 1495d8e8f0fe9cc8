#include "common/FitStuff_.h"

#include <windows.h>

#include <algorithm>

#include "common/Geometry_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Text.h"

namespace common {

namespace {

// Lends the holding form the control's font for measuring, in the form's own scale, and
// gives its own back.
class BorrowedFont {
public:
    explicit BorrowedFont(platform::Control& control) : form_(*control.Parent()), saved_(form_.Font()) {
        form_.SetFont(control.Font());
    }
    ~BorrowedFont() { form_.SetFont(saved_); }
    BorrowedFont(const BorrowedFont&) = delete;
    BorrowedFont& operator=(const BorrowedFont&) = delete;

    // Width in twips of `text` drawn in the holding form's (borrowed) font.
    double TextWidth(const std::string& text) const {
        platform::ScreenDC dc;
        HFONT font = form_.Font() ? form_.Font() : platform::DefaultFont();
        platform::SelectedObject selected(dc.get(), font);
        return platform::TextExtent(dc.get(), text).cx * TwipsPerPixel();
    }
    // In the form's own scale: its fonts and its twips follow the DPI of the monitor it is on,
    // which is the system's only on a monitor of the system's DPI.
    double TwipsPerPixel() const { return form_.TwipsPerPixel(); }
    // A system measure in pixels, at the form's DPI.
    int Metric(int index) const { return MulDiv(GetSystemMetrics(index), form_.Dpi(), platform::SystemDpi()); }

private:
    platform::Form& form_;
    HFONT saved_;
};

}  // namespace

void FitDropDownWidth(platform::ComboBox& combo) {
    BorrowedFont font(combo);
    int count = combo.ListCount();
    double widest = 0;
    for (int i = 0; i < count; ++i) widest = std::max(widest, font.TextWidth(combo.List(i)));
    long width = DropDownWidthPixels(count > 0, widest, font.TwipsPerPixel(), font.Metric(SM_CXVSCROLL));
    SendMessageA(combo.hWnd(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

bool TextFitsControl(const std::string& text, platform::Control& control, long margin) {
    BorrowedFont font(control);
    long available = AvailableTextWidth(control.Width(), margin, font.TwipsPerPixel());
    return font.TextWidth(text) <= available;
}

}  // namespace common
