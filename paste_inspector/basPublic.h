// Paste Inspector's start-up module.
#pragma once
#include <memory>

#include "paste_inspector/MainForm.h"

namespace paste_inspector {

// The program's only window; empty before start-up.
extern std::unique_ptr<MainForm> Main_Form;

// Sets the program's identity (version, legal notice).
void InitIdentity();

// The start-up routine: registers the program, ends a second copy at once, shows the window.
void Main();

}  // namespace paste_inspector
