// A modal error box with one OK button. The title and text also go to standard error
// as one line, so the reason survives where no box can be shown.
#pragma once

#include <cstdint>

// Returns the button pressed (1 for OK), or 0 when no box could be shown.
int32_t ErrorBox(const char* title, const char* text);

// A Windows game has no console of its own: when started from a command prompt and its
// standard output and error lead nowhere, they are sent to that prompt's console, so
// --help and the one-line messages are seen. Does nothing elsewhere.
void MessagesToParentConsole();
