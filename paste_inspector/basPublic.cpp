#include "paste_inspector/basPublic.h"

#include "common/SettingsApp_.h"
#include "platform/App.h"

namespace paste_inspector {

std::unique_ptr<MainForm> Main_Form;

void InitIdentity() { platform::SetAppVersion(SORVITA_VERSION_MAJOR, SORVITA_VERSION_MINOR, SORVITA_VERSION_REVISION, "Copyright (C) 2026 Sorvita. Free to use and share."); }

void Main() {
    InitIdentity();
    common::RegisterAppPath();
    if (platform::App().PrevInstance()) return;
    Main_Form = std::make_unique<MainForm>();
    Main_Form->Show();
}

}  // namespace paste_inspector
