#pragma once
// How the windowed program tells of an error that nothing handled: a message
// box with the platform's default caption and an OK button.

#include <exception>
#include <string>

namespace app {

// The box's text: "Error: unhandled exception: " + message + " [" + type
// name + "]" and a line break.
std::string unhandledErrorReport(const std::exception& error);

// Shows the text in a message box without owner, default caption, OK button;
// returns when the user has closed it.
void showErrorBox(const std::string& text);

}  // namespace app
