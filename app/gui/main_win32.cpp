// quenmarl.exe: the windowed converter. The command line is not read.
#include <windows.h>

#include "app/gui/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return app::runQuenmarl(); }
