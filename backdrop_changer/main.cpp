#include <windows.h>

#include "backdrop_changer/basSSaver.h"
#include "platform/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // One apartment for the program's life: pictures are decoded and opened through COM.
    platform::ComApartment apartment;
    return backdrop_changer::Main();
}
