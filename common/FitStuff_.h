// Fits text to controls: drop-down widths and whether a text shows in full.
#pragma once
#include <string>

#include "platform/Form.h"

namespace common {

// Widens the combo box's drop-down list so that its longest entry shows in full.
void FitDropDownWidth(platform::ComboBox& combo);

// True when `text` fits in the control's width less (margin + 10) pixels.
bool TextFitsControl(const std::string& text, platform::Control& control, long margin);

}  // namespace common
