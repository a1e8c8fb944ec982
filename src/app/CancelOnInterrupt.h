#pragma once
// Ctrl-C sets the host's cancel flag, so a render stops at its next check and the program exits
// cleanly with an error code. A second Ctrl-C ends the program at once.

class Interface;

namespace app {

void cancelOnInterrupt(Interface& core);
// True once Ctrl-C was pressed.
bool interrupted();

}  // namespace app
