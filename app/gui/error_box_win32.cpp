#include <windows.h>

#include "app/gui/error_report.h"
#include "runtime/text.h"

namespace app {

void showErrorBox(const std::string& text) {
    // A null caption is the platform's default ("Error").
    MessageBoxW(nullptr, runtime::widen(text).c_str(), nullptr, MB_OK);
}

}  // namespace app
