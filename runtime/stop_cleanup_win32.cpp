#include "runtime/long_path_win32.h"
#include "runtime/stop_cleanup.h"

namespace runtime {

namespace {

// Runs on a thread the system starts for the event.
BOOL WINAPI onConsoleStop(DWORD) {
    detail::removeListedTemporaryFiles();
    // At once, without running destructors on threads stopped anywhere.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    return TRUE;
}

}  // namespace

void removeTemporaryFilesWhenStopped() { SetConsoleCtrlHandler(onConsoleStop, TRUE); }

// A broken pipe is an error like another on Windows: the write reports it.
void endAsBrokenPipe() {}

}  // namespace runtime
