#pragma once
// A model file's camera as CameraSettings. Assimp's importers disagree on what its fields hold;
// these are the conventions of Assimp 5.2, checked against files:
//
// - Field of view: glTF stores the vertical angle (yfov) times the aspect ratio, so the angle is
//   recovered and widened to the true horizontal one, 2 atan(aspect tan(yfov / 2)); without an
//   aspect ratio the vertical angle is taken as the horizontal one, as Assimp does. FBX, Collada,
//   3DS and the others store the full horizontal angle.
// - Orthographic cameras store half the view's width.
// - Clip planes and widths are in the file's units, scaled by the import scale.
// - glTF and 3DS copy the node's translation into the camera's position; the node already places
//   the camera there, so that copy is ignored.

#include "standalone/CameraSettings.h"
#include "standalone/import/AssimpFile.h"

#include "host/Matrix3.h"

#include <string>
#include <vector>

struct aiCamera;

namespace standalone::import {

struct CameraImport {
    CameraSettings settings;
    float aspect = 0.0f;  // width / height; 0 when the file gives none
    Matrix3 frame;        // from the camera's own frame to its node's space (see aimedFrame)
};

CameraImport importCamera(const aiCamera& camera, SourceFormat format, float scale,
                          std::vector<std::string>& warnings);

// Whether the format's importer copies the node's translation into cameras and lights.
bool positionCopiesNode(SourceFormat format);

}  // namespace standalone::import
