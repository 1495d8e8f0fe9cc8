#include <windows.h>

#include "paste_inspector/basPublic.h"
#include "platform/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::ComApartment apartment;
    paste_inspector::Main();
    int exitCode = platform::Form::RunMessageLoop();
    paste_inspector::Main_Form.reset();
    return exitCode;
}
