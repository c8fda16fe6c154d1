#pragma once
// The lines the engine raises about an input it does not convert. The
// engine prints nothing: the programs print these lines, each with the
// input it is about.

#include <string>

#include "engine/errors.h"

namespace engine {

inline constexpr const char* sameFileLine = "You cannot set the same input and output file for safety reasons";
inline constexpr const char* noSuchInputLine = "There was an error with your input or output arguments.";
inline constexpr const char* emptyInputLine = "Input file is 0 bytes!";
inline constexpr const char* notAFileLine = "ERROR: Input is not a regular file";

// "ERROR: Could not read " + path + ": " + the system's reason.
std::string couldNotReadLine(const std::string& path, const runtime::OSError& error);

// The reason a runtime error gives a line: "errno: N `text`" for a failed
// system call, whatever the platform's own code.
std::string reasonOf(const runtime::Error& error);

// "ERROR: Could not create " + path + ": " + reason.
std::string couldNotCreateLine(const std::string& path, const std::string& reason);

// Runs body, which moves the bytes of the input the lines call inputPath to
// the output they call outputName, and raises ConversionError with the line
// of what stopped it: "ERROR: Input changed during conversion: " +
// inputPath (InputShrank), "ERROR: Could not allocate data for DC filter"
// or "ERROR: Could not allocate memory for " + outputName (OutOfMemory, as
// filtered says), "ERROR: Could not write " + outputName + ": " + the
// reason (IOError), couldNotReadLine (OSError). The one place these lines
// are made, for both directions.
template <class Body>
void movingBytes(const std::string& inputPath, const std::string& outputName, bool filtered, Body body) {
    try {
        body();
    } catch (const OutOfMemory&) {
        throw ConversionError(filtered ? "ERROR: Could not allocate data for DC filter"
                                       : "ERROR: Could not allocate memory for " + outputName);
    } catch (const InputShrank&) {
        throw ConversionError("ERROR: Input changed during conversion: " + inputPath);
    } catch (const runtime::IOError& error) {
        throw ConversionError("ERROR: Could not write " + outputName + ": " + error.what());
    } catch (const runtime::OSError& error) {
        throw ConversionError(couldNotReadLine(inputPath, error));
    }
}

}  // namespace engine
