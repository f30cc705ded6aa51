// The installer stub's entry point.
#include <windows.h>

#include "app/program_entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return runInstallerProgram(instance);
}
