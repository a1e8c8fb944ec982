#pragma once
// "Bitmap": an image file read with OpenImageIO (through the image module), sampled at the map's
// UV coordinates with repeat wrapping and bilinear filtering (nearest texel when filter is off).
// Texel (0, 0) is the image's top-left pixel; v = 1 is the top row. Values are used as stored in
// the file (no colour space conversion); alpha is associated, as the reader delivers it.
//
// Until an image is loaded (or when loading failed) the map answers neutral grey 0.5 with alpha 1,
// so a broken optional map shows but does no harm.
//
// Images embedded in other files (model files) are loaded from memory; the fileName parameter is
// left as it is (empty or descriptive), and the image stays until fileName changes.
// Script names: fileName, filter, plus the coordinates.

#include "standalone/maps/MapBase.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class ParamBlockDesc2;

namespace standalone {

class BitmapMap final : public MapBase {
public:
    BitmapMap();

    static ClassDesc2& classDesc();
    static ParamBlockDesc2& paramBlockDesc();

    // Reads the file named by the fileName parameter. On failure the map keeps no image and
    // error names the file and what went wrong.
    bool load(std::string& error);
    bool loaded() const { return image_ != nullptr; }
    // Decodes an encoded image (PNG, JPEG, ... as a file would hold it) from memory. formatHint is
    // the format's usual file extension ("png", "jpg") or empty to guess it from the data;
    // description names the image in messages. data need not outlive the call.
    bool loadFromMemory(const void* data, std::size_t size, const std::string& formatHint,
                        const std::string& description, std::string& error);
    // Takes decoded texels, row 0 at the top: width x height of them.
    bool setImage(int width, int height, std::vector<AColor> texels, std::string& error);
    // Loads the file unless it is already loaded. A failure's message stays in loadError() and is
    // shown through the core interface's message box.
    bool LoadMapFiles(TimeValue t) override;
    const std::string& loadError() const { return loadError_; }

    AColor EvalColor(ShadeContext& sc) override;

protected:
    void readParams(IParamBlock2& block, TimeValue t, Interval& valid) override;
    void copyLoadedState(MapBase& copy) const override;

private:
    struct Image {
        int width = 0, height = 0;
        std::vector<AColor> texels;  // row 0 at the top
    };
    AColor sample(const Image& image, const Point2& uv) const;

    std::string fileName_;
    bool filter_ = true;
    std::shared_ptr<const Image> image_;  // shared read-only with clones
    std::string loadedPath_;
    std::string loadError_;
};

}  // namespace standalone
