#pragma once
// Motion smear of a stamp: each stamp offset is also drawn along a line through the pixel's
// screen motion, fading towards the ends.

#include "line/LineCanvas.h"
#include "line/LineSettings.h"

namespace vml {

// The smear of one edge pixel, set up from its screen motion. Inactive unless lineBlur != 0,
// both motion components are non-zero and the scaled motion is longer than 3 pixels.
struct LineSmear {
    bool active = false;
    float strength = 0.0f;  // scaled motion length less 3 pixels
    int shiftX = 0, shiftY = 0;
    int motionX = 0, motionY = 0;  // integer parts of the shortened motion
    int proj = 0;
    int step = 1;
    bool majorY = false;
    int length = 0;  // positions along the major axis each way, n
    int slope = 0;   // minor / major, 10-bit fixed point
    int majorShift = 0;
    float invBehind = 0.0f, invAhead = 0.0f;
};

// The longest smear drawn over an image of this size: two crossings of it each way.
float lineSmearLimit(int width, int height);

// Needs the derived words; g is the pixel's width factor. A smear longer than `longest` (a fast
// object near the camera) is held to that length in the same direction, so its work stays within
// a few crossings of the image; infinite motion counts as the longest there is.
LineSmear makeLineSmear(const LineSettings& settings, float vx, float vy, float g, float longest);

// Draws stamp offset (i, j) of the edge pixel (x, y) (stamp centre (cx, cy), width factor g)
// along the smear into `target`, skipping the positions whose raises the target would drop.
// Precondition: smear.active.
void smearStampOffset(const LineSmear& smear, const LineSettings& settings, int x, int y, int i, int j,
                      float cx, float cy, float g, LineStampTarget& target);

}  // namespace vml
