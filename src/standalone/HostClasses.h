#pragma once
// The standalone host's own material and map classes, made known to the class directory under
// the names scene documents use: "Standard", "Bitmap", "Checker", "Noise", "Gradient".

namespace standalone {

class StandaloneCore;

void registerHostClasses(StandaloneCore& core);

}  // namespace standalone
