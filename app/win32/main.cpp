// morvane.exe: the four windows on Win32, from the start window to the removal verdict. A GUI
// program: no console window comes with it.
#include <windows.h>

#include "Program.h"
#include "Win32FileHost.h"
#include "Win32Toolkit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    morvane::ui::Win32Toolkit toolkit;
    morvane::Win32FileHost host;
    morvane::ui::Program program(toolkit, host);
    program.start();
    return toolkit.run();
}
