#pragma once
// The toolkit's creation errors. Each carries its message and type name for
// the unhandled-error report.

#include "runtime/errors.h"

namespace toolkit {

// An icon that cannot be built: "wIcon creation failed".
class wIconError : public runtime::Error {
public:
    wIconError() : runtime::Error("wIcon creation failed") {}
    const char* typeName() const noexcept override { return "wIconError"; }
};

// A cursor that cannot be loaded: "wCursor creation failed".
class wCursorError : public runtime::Error {
public:
    wCursorError() : runtime::Error("wCursor creation failed") {}
    const char* typeName() const noexcept override { return "wCursorError"; }
};

// A font that cannot be made: "wFont creation failed".
class wFontError : public runtime::Error {
public:
    wFontError() : runtime::Error("wFont creation failed") {}
    const char* typeName() const noexcept override { return "wFontError"; }
};

// A library or entry point bound by name at start that is missing:
// "could not load: <library>" or "could not import: <entry point>".
class wLibraryError : public runtime::Error {
public:
    using runtime::Error::Error;
    const char* typeName() const noexcept override { return "wLibraryError"; }
};

}  // namespace toolkit
