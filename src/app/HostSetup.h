#pragma once
// Sets up the program's host: one core interface for the process, the host's own classes, the
// scanline renderer, and the plug-in library with its classes under their scene-document names.

namespace standalone {
class StandaloneCore;
}

namespace app {

void setUpHost(standalone::StandaloneCore& core);

}  // namespace app
