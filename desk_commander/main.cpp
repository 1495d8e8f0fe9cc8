#include <windows.h>

#include "desk_commander/basPublic.h"
#include "platform/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // One apartment for the program's life: the folder picker and the StartUp shortcut use COM.
    platform::ComApartment apartment;
    return desk_commander::Main();
}
