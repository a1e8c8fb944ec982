#pragma once
// The brush editor's preview of the tip, and the record that tells when it needs redrawing.
// Only the tip shape is drawn: no sub-map, no variant randomness.

#include "host/Bitmap.h"
#include "host/MaxTypes.h"

#include <cstdint>
#include <vector>

class IParamBlock2;

namespace vml {

class vmlBrush;

// The 14 tip-shape parameters at one time; the preview is redrawn when they change. Other
// parameters (map opacity, stretch and angle spreads, cache switch, variant count) do not
// change the preview.
struct BrushPreviewShape {
    int type = 0;
    float stretch = 0.0f;
    float angle = 0.0f;
    float groove = 0.0f;
    int grooveNum = 0;
    float size = 0.0f;
    float sizeRnd = 0.0f;
    float anti = 0.0f;
    float hSpace = 0.0f;
    float hSpaceRand = 0.0f;
    float vSpace = 0.0f;
    float vSpaceRand = 0.0f;
    float dampStart = 0.0f;
    float dampEnd = 0.0f;

    bool operator==(const BrushPreviewShape&) const = default;
};

// Reads the record from a brush's parameter block at t.
BrushPreviewShape readBrushPreviewShape(IParamBlock2& block, TimeValue t);

// Updates the brush at t, selects variant 0 and renders width x height grey bytes, row-major
// with the top row first: the outermost rows and columns black, every other pixel (x, y)
// trunc((1 - S(x / width, 1 - y / height)) * 255), so the tip is dark on white and upright.
// Empty for a non-positive size.
std::vector<std::uint8_t> renderBrushPreview(vmlBrush& brush, TimeValue t, int width, int height);

// A brush's preview in a page's image control (the material's brush rollout, the brush editor).
// The tip is rendered again only when its shape changed since the last drawing, as rendering
// costs a tip evaluation per pixel.
class BrushPreviewImage {
public:
    // The image of a control of that client size: one pixel more each way.
    BrushPreviewImage(int clientWidth, int clientHeight) : width_(clientWidth + 1), height_(clientHeight + 1)
    {}

    // Renders the brush's tip at t when its shape changed, and shows the image in control `id`
    // of `page` when it was rendered or `force` is set (a paint message). True when rendered.
    bool redraw(vmlBrush& brush, TimeValue t, HWND page, int id, bool force);
    const Bitmap& image() const { return image_; }
    // The next redraw renders whatever the shape.
    void forget() { drawn_ = false; }

private:
    int width_, height_;
    bool drawn_ = false;
    BrushPreviewShape last_;
    Bitmap image_;
};

}  // namespace vml
