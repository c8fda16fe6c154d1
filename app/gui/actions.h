#pragma once
// What the main window does: the two buttons, dragging onto and dropping on
// the help text box, and the status line. Each action runs to its end on the
// user-interface thread; an error other than the engine's refusal of an
// input passes through and ends the program.

#include <string>

#include "app/gui/main_window.h"
#include "toolkit/event.h"

namespace app {

// "Open folder": asks for a folder ("Select a dir", file-system folders
// only) and converts it into "zz_" + its name beside it. Nothing happens
// when the dialog is cancelled.
void onOpenFolder(MainWindow& window);

// "Open file": asks for one file ("Select a file", "*.*") and converts it
// into "zz_" + its changed name beside it. Nothing happens when the dialog
// is cancelled.
void onOpenFile(MainWindow& window);

// A drag entering the help text box is offered the copy effect, whatever it
// carries.
void onDragEnter(toolkit::wDragDropEvent& event);

// Converts every dropped file or folder that exists, in drop order, each
// beside itself; paths that name nothing are skipped, and a refused input
// shows its refusal and lets the next item go on. Data without a file list
// converts nothing.
void onDrop(MainWindow& window, toolkit::wDragDropEvent& event);

// Writes " " + message + " - " + the time of day into the status line.
void showStatus(MainWindow& window, const std::string& message);

}  // namespace app
