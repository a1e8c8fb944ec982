#pragma once
// Objects of the built-in primitive types: their parameters read from the object's keys through
// each primitive's parameter table, then the mesh built.

#include "host/Mesh.h"
#include "standalone/document/ValueReaders.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace standalone::document {

// plane, box, sphere, cylinder, torus, teapot.
const std::vector<std::string>& primitiveTypes();

// The mesh of primitive `type` with the parameters found in object; nullptr when type is not a
// primitive. Parameters left out keep their defaults.
std::shared_ptr<Mesh> readPrimitive(std::string_view type, ObjectReader& object);

}  // namespace standalone::document
