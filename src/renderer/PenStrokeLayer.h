#pragma once
// Compositing of the pen-stroke render element's layer into the canvas.

class Bitmap;
class RendProgressCallback;

namespace vml {

class vmlRasterBase;

// Blends every pixel of `layer` (premultiplied 16-bit RGBA) with alpha a > 0 into the canvas:
// colour un-premultiplied, amount a x alpha, blend method at list position blendIndex. Pixels
// outside either the layer or the canvas are left alone. Progress is reported after every
// sixteenth row; an abort answered there stops, leaving the rows after it, and returns false.
bool compositePenStrokeLayer(vmlRasterBase& canvas, const Bitmap& layer, float alpha, int blendIndex,
                             RendProgressCallback* progress);

}  // namespace vml
