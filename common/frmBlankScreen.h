// A black window over every monitor, without a pointer, that closes at the first key
// or mouse button released over it.
#pragma once
#include <windows.h>

#include "platform/Form.h"

namespace common {

class frmBlankScreen : public platform::Form {
public:
    // The pointer shown over the window: fully transparent.
    HCURSOR Cursor() const { return blankCursor_; }

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Unload() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HCURSOR blankCursor_ = nullptr;
};

// Shows a fresh blank screen modally and returns when it has closed.
void ShowBlankScreen();

}  // namespace common
