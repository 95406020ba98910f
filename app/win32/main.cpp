// morvane.exe: the four windows on Win32, from the start window to the removal verdict. A GUI
// program: no console window comes with it.
#include <windows.h>

#include "platform/UserPlaces.h"
#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "platform/ui/win32/Win32Toolkit.h"
#include "windows/Program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    morvane::ui::Win32Toolkit toolkit;
    morvane::Win32FileHost host;
    morvane::Win32TreeReader reader;
    morvane::ui::Program program(toolkit, host, {reader, morvane::userPlaces().steamRoots});
    program.start();
    return toolkit.run();
}
