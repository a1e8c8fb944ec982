#pragma once
// A node's transform from a document: "position", "rotation" (degrees, about X then Y then Z) or
// "target" (aimable nodes: aimed at it whatever their position), and "scale" (scalable nodes). Position,
// rotation and scale may each be keyed, {"keys": [[frame, value], ...]}.

#include "standalone/SceneNode.h"
#include "standalone/document/ValueReaders.h"

namespace standalone::document {

void readNodeTransform(ObjectReader& r, SceneNode& node, bool aimable, bool scalable, int frameRate);

}  // namespace standalone::document
