#pragma once
// The renderer's message boxes.

namespace vml {

inline constexpr const char* rendererCaption = "Vrmil+";

// Shows string `id` (empty when the table lacks it) in a host message box with the renderer's
// caption, an exclamation icon and the host's main window as parent.
void showRendererMessage(int id);

}  // namespace vml
