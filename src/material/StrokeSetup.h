#pragma once
// The set-up of one stroke: everything the walk and the paint step need, derived from the
// record, the material's brush and stroke settings, the frame and the stroke's own generator.
// The draws are taken in a fixed order (size, size fade, rough x, rough y, normal shift, dab
// angle, fine, brush-map angle, per-dab seed, length, direction, anchor, deformation amplitude,
// frequency and phase, rough, size-damp start and end, alpha-damp start and end, brush variant);
// the paint step continues from there.

#include "host/Point2.h"
#include "host/Point3.h"
#include "material/StrokeRandom.h"
#include "material/vmlMaterialCaches.h"

#include <cstdint>
#include <optional>

namespace vml {

class vmlObjBrush;

// What the frame and the brush map contribute to a stroke's set-up.
struct StrokeSetupFrame {
    float scale = 1.0f;
    // The stroke's face on its object: -1 for the object's smallest face, +1 for its largest.
    float faceSizeFactor = 0.0f;
    // Distance of the stroke in front of the camera, for depth scaling; used only when
    // depthScaling is on.
    float objectDepth = 0.0f;
    bool depthScaling = true;
    // Seed of the per-object screen-offset jitter; none when the jitter is disabled.
    std::optional<std::uint16_t> screenJitterSeed;
    IPoint2 regionOrigin;
    // The brush map's angle spread (degrees) and variant count (at least 1).
    float brushMapAngleRnd = 0.0f;
    int brushVariantCount = 1;
};

// A dab window's half side never passes this: far wider than any canvas, and small enough that
// window corners stay within int.
inline constexpr int maxDabHalfBox = 1 << 28;

struct StrokeSetup {
    float size = 0.0f;              // dab radius scale, pixels; the stroke paints nothing when <= 0
    int halfBox = 0;                // (int)(size + 0.5), at most maxDabHalfBox
    Point2 position;                // seed point on the canvas, offsets applied
    Point2 offset;                  // screen offset added to the seed point (scale applied)
    Point3 normal;                  // camera-space normal of the stroke's sample
    float dabAngle = 0.0f;          // radians, without the stroke direction
    float fine = 0.0f;              // 0..1: how much of the pixel samples' colour the paint takes
    int rake = 0;                   // 0 normal, 1 rake (dabs turn with the path), 2 random per dab
    std::uint16_t dabSeed = 0;      // per-dab generator (rake 2)
    float brushMapAngleRnd = 0.0f;  // the brush map's angle spread, degrees (rake 2)
    float length = 0.0f;            // pixels
    float direction = 0.0f;         // theta, radians
    float directionFit = 0.0f;      // w: how strongly the path follows the surface
    float fitOffset = 0.0f;         // radians
    float directionJitter = 0.0f;
    float anchor = 0.0f;  // 0..1: where along the path the seed point sits
    float deformAmplitude = 0.0f, deformFrequency = 0.0f, deformPhase = 0.0f;
    float rough = 1.0f;  // share of the remaining path skipped where the stroke leaves its surface
    // Size damping: strengths and positions at the start and the end of the path.
    float sizeDampStart = 0.0f, sizeDampStartPos = 0.0f, sizeDampEnd = 0.0f, sizeDampEndPos = 1.0f;
    float alphaDampStart = 0.0f, alphaDampStartPos = 0.0f, alphaDampEnd = 0.0f, alphaDampEndPos = 1.0f;
    float spacingBase = 0.0f, spacingSpread = 0.0f;
    std::uint16_t variantSeed = 0;
    int variantIndex = 0;
    // Facing of the surface, 0 (edge on) to 1 (facing the camera), for the fades.
    float facing = 0.0f;
    // The stroke generator after the set-up draws, and the spacing generator (it starts at the
    // state before the brush-variant draw).
    StrokeRandom random;
    StrokeRandom spacingRandom;
};

// Fade of a size or alpha by the facing: 1 where the surface faces the camera more than the
// threshold allows, falling by `amount` percent toward the silhouette. Takes one draw.
float facingFade(float facing, float amount, float threshold, float spread, float linear,
                 StrokeRandom& random);

// The set-up of `stroke`; empty when it paints nothing (size <= 0 or not finite).
std::optional<StrokeSetup> setUpStroke(const vmlObjBrush& stroke, const mtlcache::BrushCache& brush,
                                       const mtlcache::StrokeCache& strokeSettings,
                                       const StrokeSetupFrame& frame);

// Angle helpers: bring a value into [-180, 180] degrees or [-pi/2, pi/2] radians by whole turns
// (half turns for the radians). Not finite values come back as 0.
float wrap180(float degrees);
float wrapHalfTurn(float radians);

}  // namespace vml
