#pragma once
// A keyboard accelerator table that a window and its children share.

#include <windows.h>

#include <vector>

#include "runtime/errors.h"
#include "toolkit/handles_win32.h"

namespace toolkit {

class wAcceleratorTable {
public:
    // Raises OSError when the table cannot be made.
    explicit wAcceleratorTable(std::vector<ACCEL> entries)
        : table_(CreateAcceleratorTableW(entries.data(), int(entries.size()))) {
        if (!table_) throw runtime::lastOSError("CreateAcceleratorTableW");
    }
    HACCEL handle() const noexcept { return table_.get(); }

private:
    win32::AcceleratorHandle table_;
};

}  // namespace toolkit
