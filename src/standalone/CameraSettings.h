#pragma once
// A camera object of the standalone host's scene. It looks down its node's local -z axis with
// +y up.

namespace standalone {

struct CameraSettings {
    bool orthographic = false;
    float fov = 45.0f;         // perspective: horizontal field of view, degrees
    float orthoWidth = 10.0f;  // orthographic: world units across the image
    float nearClip = 0.01f;
    float farClip = 1.0e6f;
};

}  // namespace standalone
