#include "app/gui/error_report.h"

#include "runtime/errors.h"

namespace app {

std::string unhandledErrorReport(const std::exception& error) { return runtime::unhandledErrorText(error) + "\n"; }

}  // namespace app
