#include "material/StrokeSetup.h"

#include "host/Angles.h"
#include "host/NormalCompression.h"
#include "material/vmlObjBrush.h"

#include <algorithm>
#include <cmath>

namespace vml {

namespace {

// Depth scaling: strokes beyond `start` shrink toward `end` (or grow, when end < start).
float depthScale(const mtlcache::BrushCache& brush, float d)
{
    const float start = brush.brushZScaleStart, end = brush.brushZScaleEnd;
    if (d > start && end > start)
        return (start + 1.0f) / (std::min(d, end) + 1.0f);
    if (start > d && start > end)
        return (std::max(d, end) + 1.0f) / (start + 1.0f);
    return 1.0f;
}

}  // namespace

float wrap180(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    // One remainder instead of repeated whole turns, so huge values cannot stall the painter.
    if (degrees > 180.0f || degrees < -180.0f)
        degrees = std::remainder(degrees, 360.0f);
    return degrees;
}

float wrapHalfTurn(float radians)
{
    if (!std::isfinite(radians))
        return 0.0f;
    if (radians > pi / 2 || radians < -pi / 2)
        radians = std::remainder(radians, pi);
    return radians;
}

float facingFade(float facing, float amount, float threshold, float spread, float linear,
                 StrokeRandom& random)
{
    const float limit = ((0.5f - random.next()) * spread * 0.01f + 1.0f) * (100.0f - threshold) * 0.01f;
    if (facing >= limit)
        return 1.0f;
    float q = facing / limit;
    if (linear < 100.0f)
        q = (q * q * q * (100.0f - linear) + q * linear) * 0.01f;
    return std::clamp(1.0f - (1.0f - q) * amount * 0.01f, 0.0f, 1.0f);
}

std::optional<StrokeSetup> setUpStroke(const vmlObjBrush& stroke, const mtlcache::BrushCache& brush,
                                       const mtlcache::StrokeCache& st, const StrokeSetupFrame& frame)
{
    StrokeSetup s;
    StrokeRandom& rnd = s.random;
    rnd = StrokeRandom(stroke.seed);

    const Point3 n = DeCompressNormal(stroke.normal);
    s.normal = n;
    const float g = frame.faceSizeFactor * 0.01f;  // the geometry settings are percentages
    const float z =
        brush.brushZScaleEnable && frame.depthScaling ? depthScale(brush, frame.objectDepth) : 1.0f;
    s.facing = std::asin(std::min(1.0f, std::fabs(n.z))) / (pi / 2);

    // Size (first draw), then its fade (second draw).
    const float sizeJitter = rnd.centred() * brush.brushSizeRnd * 0.02f + 1.0f;
    s.size = z * brush.brushSize * frame.scale * (g * brush.brushSizeGeom + 1.0f) * sizeJitter;
    s.size *= facingFade(s.facing, brush.brushFadeSize, brush.brushFadeSizeThre, brush.brushFadeSizeRnd,
                         brush.brushFadeSizeLinear, rnd);
    if (!(s.size > 0.0f) || !std::isfinite(s.size))
        return std::nullopt;
    s.halfBox =
        s.size + 0.5f < static_cast<float>(maxDabHalfBox) ? static_cast<int>(s.size + 0.5f) : maxDabHalfBox;

    // Offsets: rough x, rough y, normal shift; then the object's shared screen jitter.
    const float rough2 = (g * brush.brushGeometry + 1.0f) * brush.brushRough * 2.0f;
    const float roughX = rnd.centred() * rough2;
    const float roughY = rnd.centred() * rough2;
    const float shift = rnd.centred() * brush.brushOfsNormRnd + brush.brushOfsNorm;
    float dx = roughX + n.x * shift + brush.brushOfsScrX;
    float dy = roughY - n.y * shift + brush.brushOfsScrY;
    if (frame.screenJitterSeed) {
        StrokeRandom jitter(*frame.screenJitterSeed);
        dx += jitter.centred() * brush.brushOfsScrXRnd;
        dy += jitter.centred() * brush.brushOfsScrYRnd;
    }
    s.offset = {frame.scale * dx, frame.scale * dy};
    s.position = {stroke.x - static_cast<float>(frame.regionOrigin.x) + s.offset.x,
                  stroke.y - static_cast<float>(frame.regionOrigin.y) + s.offset.y};

    const float alpha = std::atan2(n.x, n.y);

    // Dab angle, fine, then the brush map's own angle spread (drawn whatever the rake).
    const float fit = wrap180(degrees(alpha) + brush.brushAngleFitOfs + brush.brushAngle);
    float dabDegrees =
        rnd.centred() * brush.brushAngleRnd + fit * brush.brushAngleFit * 0.01f - brush.brushAngle;
    s.fine = std::clamp(rnd.centred() * brush.brushFineRnd * 0.02f + brush.brushFine * 0.01f, 0.0f, 1.0f);
    s.rake = std::clamp(st.strokeRake, 0, 2);
    const float mapAngle = rnd.centred() * frame.brushMapAngleRnd;
    if (s.rake != 2)
        dabDegrees += mapAngle;
    s.dabAngle = radians(dabDegrees);
    s.dabSeed = rnd.nextState();
    s.brushMapAngleRnd = frame.brushMapAngleRnd;

    // Length and direction.
    s.length = z * st.strokeLength * frame.scale * (g * st.strokeLengthGeom + 1.0f) *
               (rnd.centred() * st.strokeLengthRnd * 0.02f + 1.0f);
    if (!std::isfinite(s.length))
        s.length = 0.0f;
    const float base = radians(-st.strokeAngle);
    s.fitOffset = radians(st.strokeAngleFitOfs);
    const float fitTerm = wrapHalfTurn(s.fitOffset + alpha - base);
    const float w = st.strokeAngleFit * 0.01f;
    s.directionFit = w * w * w * w;
    s.directionJitter = radians(rnd.centred() * st.strokeAngleRnd);
    s.direction = s.directionFit * fitTerm + base + s.directionJitter;

    s.anchor = std::clamp(rnd.centred() * st.strokeOffsetRnd * 0.01f + st.strokeOffset * 0.01f, 0.0f, 1.0f);

    s.deformAmplitude =
        std::min(1.0f, (rnd.centred() * st.strokeDeformAmpRnd * 0.01f + 1.0f) * st.strokeDeformAmp * 0.01f);
    s.deformFrequency =
        (rnd.centred() * st.strokeDeformFreqRnd * 0.01f + 1.0f) * st.strokeDeformFreq * 2.0f * pi;
    s.deformPhase = (rnd.centred() * st.strokeDeformPhaseRnd * 0.02f + st.strokeDeformPhase * 0.02f) * pi;

    const float roughKeep = 1.0f - (1.0f - rnd.next() * st.strokeRoughRnd * 0.01f) * st.strokeRough * 0.01f;
    s.rough = roughKeep * roughKeep;

    s.sizeDampStart = (1.0f - st.strokeDampSizeSt * 0.01f) * 0.99f;
    s.sizeDampStartPos = rnd.centred() * st.strokeDampSizeRnd * 0.01f + st.strokeDampSizeStPos * 0.01f;
    s.sizeDampEnd = (1.0f - st.strokeDampSizeEd * 0.01f) * 0.99f;
    s.sizeDampEndPos = rnd.centred() * st.strokeDampSizeRnd * 0.01f + st.strokeDampSizeEdPos * 0.01f;
    s.alphaDampStart = 1.0f - st.strokeDampAlphaSt * 0.01f;
    s.alphaDampStartPos = rnd.centred() * st.strokeDampAlphaRnd * 0.01f + st.strokeDampAlphaStPos * 0.01f;
    s.alphaDampEnd = 1.0f - st.strokeDampAlphaEd * 0.01f;
    s.alphaDampEndPos = rnd.centred() * st.strokeDampAlphaRnd * 0.01f + st.strokeDampAlphaEdPos * 0.01f;

    s.spacingBase = s.size * 0.01f * st.strokeSpace;
    s.spacingSpread = st.strokeSpaceRnd * 0.02f;
    s.spacingRandom = rnd;  // its first draw equals the brush-variant draw

    s.variantSeed = rnd.nextState();
    s.variantIndex = s.variantSeed % std::max(1, frame.brushVariantCount);
    return s;
}

}  // namespace vml
