#pragma once
// Setting a class object's parameters by script name through its parameter blocks, from
// document values whose form follows the parameter's type (see docs/scene-format.md).

#include "standalone/document/JsonLocation.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class INode;
class Mtl;
class ReferenceTarget;
class Texmap;

namespace standalone::document {

class DocumentPlaces;

// Turns the document's references (names or inline objects) into scene objects.
class ReferenceResolver {
public:
    virtual ~ReferenceResolver() = default;
    // A name from "materials" or an inline {"class": ...} object; never nullptr (fails instead).
    virtual Mtl* material(const Json& v, const JsonLocation& at) = 0;
    // A name from "maps" or an inline {"class": ...} object; never nullptr (fails instead).
    virtual Texmap* map(const Json& v, const JsonLocation& at) = 0;
    // The name of an object, light or camera; never nullptr (fails instead).
    virtual INode* node(const Json& v, const JsonLocation& at) = 0;
};

struct ParameterContext {
    ReferenceResolver& refs;
    std::filesystem::path baseDir;     // relative file names resolve against it
    int frameRate = 30;                // keys are given in frames
    DocumentPlaces* places = nullptr;  // told where each object made from the document sits
    INode* sceneRoot = nullptr;        // the node tree, for readers that match names
    // Told of values held to their parameters' ranges; without it they go to the host's log.
    std::function<void(const std::string&)> warn = {};
};

// Sets object's parameter `name` to v (found at `at`). className names the class in messages.
// Fails with a SceneError for an unknown name (listing the valid ones), a value of the wrong
// form, or keys on a parameter that cannot be animated. Numbers enter the block through the
// intake (host/ParamIntake.h): one outside the parameter's range is held to it, with a warning
// naming the document, the value's place and the parameter.
void setParameter(ReferenceTarget& object, std::string_view className, const std::string& name, const Json& v,
                  const JsonLocation& at, const ParameterContext& context);

// Script names of every parameter of object, block by block.
std::vector<std::string> parameterNames(ReferenceTarget& object);

// path as written in a document, made absolute against baseDir unless it already is or is empty.
std::string resolvePath(const std::filesystem::path& baseDir, const std::string& path);

}  // namespace standalone::document
