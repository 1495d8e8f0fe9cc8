// A stand-in for a program that the suite starts. Copies of it are placed where the suite
// looks for a program, and where Windows would wrongly look: each start notes the path it runs
// from and the command line it was given, one line "path|command line", in the file named by
// SORVITA_PROBE_LOG.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH * 4] = {};
    if (!GetEnvironmentVariableA("SORVITA_PROBE_LOG", log, sizeof log)) return 1;
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string line = std::string(path, length) + "|" + GetCommandLineA() + "\r\n";
    // Starts close together take turns at the file.
    for (int tries = 0; tries < 200; ++tries) {
        HANDLE file = CreateFileA(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 2;
}
