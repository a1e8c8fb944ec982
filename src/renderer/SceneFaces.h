#pragma once
// The questions the sample grid and the row filter ask about the faces of the rendered meshes,
// by the host's node id. The node records answer them for a frame.

#include "host/Point3.h"

namespace vml {

class SceneFaces {
public:
    virtual ~SceneFaces() = default;
    // Whether the two faces of the node's mesh have a vertex index in common; false for an
    // unknown node or a face out of range.
    virtual bool nodeFacesShareVertex(int nodeId, int faceA, int faceB) const = 0;
    // Camera-space corners of one face; false for an unknown node or a face out of range.
    virtual bool nodeFaceCameraVertices(int nodeId, int face, Point3 (&corners)[3]) const = 0;
};

}  // namespace vml
