// Keeps a Wine prefix's background processes alive while tests run, so that
// each test does not wait for them to shut down and start again.
#include <windows.h>

int wmain() {
    Sleep(INFINITE);
    return 0;
}
