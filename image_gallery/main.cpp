#include <windows.h>

#include "image_gallery/basPublic.h"
#include "platform/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // One apartment for the program's life: pictures are decoded and opened through COM.
    platform::ComApartment apartment;
    image_gallery::Main();
    int exitCode = platform::Form::RunMessageLoop();
    image_gallery::Browser.reset();
    return exitCode;
}
