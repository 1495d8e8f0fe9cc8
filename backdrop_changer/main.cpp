#include <windows.h>

#include "backdrop_changer/basSSaver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return backdrop_changer::Main(); }
