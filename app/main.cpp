// Program entry: the main window until it is closed. The command line is not read.

#include "app/Unit1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return app::runProgram();
}
