#pragma once
// The toolkit's window procedures: one for its own window classes, one
// subclassing the platform's controls. Both forward to wWindow and never let
// an error unwind through the platform's frames.

#include <windows.h>

namespace toolkit::win32 {

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                  DWORD_PTR reference);

}  // namespace toolkit::win32
