#pragma once

#include <string>

// Reports a fatal start-up failure: a modal desktop message box titled
// "Error", then the message as one line on standard output. Returns when the
// box has been dismissed (or could not be shown); the caller decides what follows.
void error(std::string message);

namespace platform {

// Shows a modal message box with an error sign and waits until it is dismissed.
// Returns false when no box could be shown.
using MessageBox = bool (*)(const std::string& title, const std::string& text);

// Replaces the desktop's box (tests watch it this way). Returns the previous one.
MessageBox setMessageBox(MessageBox box);

bool desktopMessageBox(const std::string& title, const std::string& text);

} // namespace platform
