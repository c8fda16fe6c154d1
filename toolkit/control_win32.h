#pragma once
// wControl: the base of the platform's controls, which the toolkit subclasses
// instead of giving them a window class of its own.

#include <memory>
#include <string>

#include "toolkit/window_win32.h"

namespace toolkit {

class wControl : public wWindow {
protected:
    explicit wControl(std::shared_ptr<wWindow> parent) : wWindow(parent->sharedApp(), parent) {}

    // Creates the visible control as a child of the parent; a default size
    // becomes defaultSize. Raises OSError.
    void createControl(const wchar_t* className, const std::string& label, wStyle style, wPoint position, wSize size,
                       wSize defaultSize, std::int32_t id) {
        CreateParams params;
        params.className = className;
        params.label = label;
        params.style = style | WS_VISIBLE;
        params.position = position;
        params.size = size;
        params.defaultSize = defaultSize;
        params.id = id;
        params.platformControl = true;
        create(params);
    }
};

}  // namespace toolkit
