#pragma once
// Scene documents: JSON files describing a scene the way a user thinks of it (render settings,
// camera, lights, objects, materials, maps, effects), loaded into a Scene. docs/scene-format.md
// describes the format.
//
// Every class object (material, map, effect, render element, plug-in renderer) is created by
// its class name through the core's class directory, and its parameters are set by script name
// through its parameter blocks, so a new class needs no loader code of its own.

#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace standalone {

// A document that cannot be loaded. The message names the file and either the JSON pointer of
// the offending value ("scene.json: /objects/2/material/diffuse: expected ...") or, for text that
// is not JSON, the line and column ("scene.json:3:14: ...").
class SceneError : public std::runtime_error {
public:
    SceneError(const std::string& file, const std::string& jsonPath, const std::string& what);
    SceneError(const std::string& file, int line, int column, const std::string& what);

    const std::string& file() const { return file_; }
    const std::string& jsonPath() const { return jsonPath_; }  // empty for syntax errors
    int line() const { return line_; }                         // 0 unless a syntax error
    int column() const { return column_; }
    const std::string& reason() const { return reason_; }  // the message without the location

private:
    std::string file_, jsonPath_, reason_;
    int line_ = 0, column_ = 0;
};

// Told about problems that did not stop loading (what an imported model file repaired or left out).
using WarningHandler = std::function<void(const std::string&)>;

// Loads the document at path. Relative paths inside it (the output image, file-name parameters,
// imported model files) resolve against the document's folder. The core's frame rate becomes the
// document's. The scene always has a camera. Throws SceneError.
std::unique_ptr<Scene> loadScene(const std::string& path, StandaloneCore& core,
                                 const WarningHandler& warn = {});

// The text of the document at path, read whole. Throws SceneError (no such file, a directory,
// unreadable, beyond the size a document may have).
std::string readSceneText(const std::string& path);

// The same for a document already in memory; documentPath names it in messages and anchors its
// relative paths (the current directory when empty).
std::unique_ptr<Scene> parseScene(std::string_view text, const std::string& documentPath,
                                  StandaloneCore& core, const WarningHandler& warn = {});

}  // namespace standalone
