#pragma once
// Icons taken from an executable's icon groups.

#include <windows.h>

#include <string>

#include "toolkit/geometry.h"
#include "toolkit/handles_win32.h"

namespace toolkit {

class wIcon {
public:
    // The icon at index among the file's icon groups (0: the first), at the
    // size asked for; an empty file names the program's own executable, and
    // the default size is the system's small-icon size. Raises wIconError
    // ("wIcon creation failed").
    wIcon(const std::string& file, int index, wSize size = wDefaultSize);

    HICON handle() const noexcept { return icon_.get(); }
    wSize size() const noexcept { return size_; }

private:
    win32::IconHandle icon_;
    wSize size_;
};

}  // namespace toolkit
