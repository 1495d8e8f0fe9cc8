#include <windows.h>

#include "platform/Handles.h"
#include "slide_saver/basSSaver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // One apartment for the program's life: pictures are decoded and opened through COM.
    platform::ComApartment apartment;
    return slide_saver::Main(commandLine ? commandLine : "");
}
