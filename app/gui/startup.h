#pragma once
// The windowed program from start to end.

namespace app {

// Makes the settings store, makes sure the configuration file exists beside
// the executable, builds the main window, places and shows it and runs the
// message loop until the window is closed; then releases everything and
// returns exit status 0. Never raises: when the configuration folder cannot
// be made it returns 1 (its line is already printed); any other error ends
// the program with exit status 1 after a message box, shown once the windows
// are gone so that nothing behind the box can start another action.
int runQuenmarl() noexcept;

}  // namespace app
