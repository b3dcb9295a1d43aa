// Program entry: the main window until it is closed. The command line is not read.

#include "app/Unit1.h"

#include <windows.h>

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The shell, which opens the manual for Help Topics, may use COM on this thread: it wants a
    // single-threaded apartment here. Without one the program still runs.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const int code = app::runProgram();
    if (SUCCEEDED(com))
        CoUninitialize();
    return code;
}
