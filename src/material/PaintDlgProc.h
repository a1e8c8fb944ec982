#pragma once
// The paint rollout (template 111): the paint blend list (1026), the colour type radios (RGB
// 1048, HSV 1049) with the channel names of the three amount spinners (1056-1058), the
// set-as-default button, and the colour-range preview (1041): the spread of stroke colours the
// amounts give around the base colour.

#include "host/Bitmap.h"
#include "host/Color.h"
#include "material/MaterialDlgProcs.h"

namespace vml {

// What the colour-range preview is drawn from.
struct ColorRangeInputs {
    Color base;                                            // the base block's baseMatColor
    int type = 0;                                          // paintColorType: 0 RGB, 1 HSV
    float amountR = 0.0f, amountG = 0.0f, amountB = 0.0f;  // paintColorR/G/B, percent

    bool operator==(const ColorRangeInputs&) const = default;
};

// The preview image, width x height: a black one-pixel frame around pixels that each add one
// draw of the amounts' jitter to the base colour (in RGB, or in HSV with the hue spread halved),
// drawn row by row from one generator that starts at 0, so a preview never flickers. Channels
// are quantised to bytes as a 24-bit image holds them.
Bitmap renderColorRange(const ColorRangeInputs& in, int width, int height);

class PaintDlgProc final : public MaterialDlgProc {
public:
    enum Control : int {
        controlBlend = 1026,
        controlPreview = 1041,
        controlRgb = 1048,
        controlHsv = 1049,
        controlFirstChannel = 1056,  // 1056 to 1058
    };

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Reselects the blend entry and colour type; redraws the preview when its inputs changed.
    void update(TimeValue t) override;
    // Draws the preview at the host's current time when its inputs changed or `force` is set
    // (a paint message); force with unchanged inputs shows the stored image again.
    void redrawPreview(bool force);
    const Bitmap& preview() const { return image_; }

private:
    void showColorType(TimeValue t);

    Bitmap image_;
    ColorRangeInputs drawnFrom_;
    bool drawn_ = false;
};

}  // namespace vml
