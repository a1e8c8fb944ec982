#pragma once
// Sets up the program's host: one core interface for the process, the host's own classes, the
// scanline renderer, and the plug-in library with its classes under their scene-document names.
// The log's warnings (values held to their parameters' ranges, ...) print as printWarning does.

#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

void setUpHost(standalone::StandaloneCore& core);

// "vermil: warning: TEXT" on stderr: how the program tells of problems it worked around, the
// scene documents' and the host log's alike.
void printWarning(const std::string& text);

}  // namespace app
