#include "material/StrokeWalk.h"

#include "host/Angles.h"
#include "host/NormalCompression.h"
#include "host/ParamBlockDesc2.h"
#include "material/DabBrush.h"
#include "material/StrokeSetup.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/vmlRasterBase.h"
#include "renderer/SampleGrid.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/RandomTables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vml {

namespace {

// Texture-space scale of a dab: the unit brush square spans the dab's diagonal.
constexpr float dabTextureScale = 0.70710677f;
constexpr float minDamping = 0.0001f;
// Crossings of the canvas a walk may take beyond what in-range strokes need.
constexpr std::int64_t canvasCrossings = 4;

// The largest magnitude a parameter's range allows; 0 without a range.
double rangeTop(const ParamDef* def)
{
    return def && def->hasRange ? std::max(std::fabs(def->rangeMin), std::fabs(def->rangeMax)) : 0.0;
}

// The longest stroke in-range settings make, in pixels: the longest strokeLength at the largest
// brush scale, lengthened at most by the face-size geometry (faces within -1..1) and by the
// length randomness (a centred draw within -0.5..0.5); depth scaling only shortens.
double longestInRangeStroke()
{
    static const double longest = [] {
        const ParamBlockDesc2& stroke = vmlMaterialStrokeBlock();
        const double length = rangeTop(stroke.GetParamDef(strokeParam::strokeLength));
        const double geometry = 1.0 + 0.01 * rangeTop(stroke.GetParamDef(strokeParam::strokeLengthGeom));
        const double randomness = 1.0 + 0.01 * rangeTop(stroke.GetParamDef(strokeParam::strokeLengthRnd));
        const double scale =
            std::max(1.0, 0.01 * rangeTop(vmlRendererParamsBlock().GetParamDef(rendererBrushScaleAmount)));
        return length * geometry * randomness * scale;
    }();
    return longest;
}

// Canvas: vmlRasterBase or CoverageRecording.
template <class Canvas> class StrokeWalker {
public:
    StrokeWalker(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush, Canvas& canvas,
                 std::vector<DabTrace>* trace)
        : s_(setup), surface_(surface), brush_(brush), canvas_(canvas), trace_(trace),
          spacingRandom_(setup.spacingRandom), dabRandom_(setup.dabSeed), variantSeed_(setup.variantSeed),
          variantIndex_(setup.variantIndex)
    {
        inverseLength_ = s_.length > 0.0f ? 1.0f / s_.length : 1e8f;
        offsetX_ = static_cast<int>(std::lround(s_.offset.x));
        offsetY_ = static_cast<int>(std::lround(s_.offset.y));
        stepLimit_ = walkStepLimit(canvas_.width(), canvas_.height());
    }

    StrokeWalkCounts run()
    {
        if (!mayReachCanvas())
            return counts_;
        const int passes = s_.length > 0.0f ? 2 : 1;
        for (int pass = 0; pass < passes; ++pass)
            walkPass(pass);
        return counts_;
    }

private:
    // A pass moves the dab centre by at most one pixel each way per step, so a seed farther off
    // the canvas than the steps and the dab's half side reach cannot touch it. Seeds inside keep
    // the pixel coordinates well within int.
    bool mayReachCanvas() const
    {
        const float reach = static_cast<float>(stepLimit_) + static_cast<float>(s_.halfBox) + 2.0f;
        const Point2& p = s_.position;
        return p.x >= -reach && p.x <= static_cast<float>(canvas_.width()) + reach && p.y >= -reach &&
               p.y <= static_cast<float>(canvas_.height()) + reach;
    }

    // Position along the stroke, 0 at its start and 1 at its end.
    float strokePosition(float t, int pass) const
    {
        if (!(s_.length > 0.0f))
            return 0.5f;
        return (pass == 0 ? t : -t) * inverseLength_ + s_.anchor;
    }

    float sizeDamping(float tau) const
    {
        float sigma = 1.0f;
        if (tau < s_.sizeDampStartPos && s_.sizeDampStartPos > 0.0f)
            sigma = std::max(minDamping, std::sqrt(std::max(0.0f, 1.0f - (1.0f - tau / s_.sizeDampStartPos) *
                                                                             s_.sizeDampStart)));
        if (tau > s_.sizeDampEndPos && s_.sizeDampEndPos < 1.0f)
            sigma *= std::max(minDamping,
                              std::sqrt(std::max(0.0f, 1.0f - (tau - s_.sizeDampEndPos) * s_.sizeDampEnd /
                                                                  (1.0f - s_.sizeDampEndPos))));
        return sigma;
    }

    float alphaDamping(float tau, float h) const
    {
        float a = h;
        if (tau < s_.alphaDampStartPos && s_.alphaDampStartPos > 0.0f) {
            const float fade = (1.0f - tau / s_.alphaDampStartPos) * s_.alphaDampStart;
            a = (1.0f - fade * fade) * h;
        }
        if (tau > s_.alphaDampEndPos && s_.alphaDampEndPos < 1.0f) {
            const float fade = (tau - s_.alphaDampEndPos) * s_.alphaDampEnd / (1.0f - s_.alphaDampEndPos);
            a *= 1.0f - fade * fade;
        }
        return a;
    }

    float nextSpacing() { return (spacingRandom_.centred() * s_.spacingSpread + 1.0f) * s_.spacingBase; }

    // Re-fits the direction to the surface under the current pixel; false when the stroke has
    // left its surface there.
    bool followSurface(float& theta)
    {
        const int sx = px_ - offsetX_, sy = py_ - offsetY_;
        if (sx < 0 || sy < 0 || sx >= surface_.width || sy >= surface_.height)
            return false;
        const PixelSample* found = surface_.samples->nearestOnSurface(
            sx, sy, surface_.nodeId, keyFace_, keyDepth_, std::numeric_limits<float>::infinity(),
            *surface_.faces, nullptr);
        if (!found)
            return false;
        keyFace_ = found->face;
        keyDepth_ = found->depth;
        const Point3 n = DeCompressNormal(found->normal);
        theta +=
            s_.directionFit * wrapHalfTurn(std::atan2(n.x, n.y) + s_.fitOffset - theta + s_.directionJitter);
        return true;
    }

    void walkPass(int pass)
    {
        const float distance =
            s_.length > 0.0f ? (pass == 0 ? 1.0f - s_.anchor : s_.anchor) * s_.length : 0.0f;
        const float frequency = pass == 0 ? s_.deformFrequency : -s_.deformFrequency;
        float theta = s_.direction;
        dabAngle_ = s_.dabAngle + (s_.rake == 1 ? theta : 0.0f);
        float c0 = std::cos(theta), s0 = std::sin(theta);
        const float fx0 = std::floor(s_.position.x), fy0 = std::floor(s_.position.y);
        px_ = static_cast<int>(fx0), py_ = static_cast<int>(fy0);
        fx_ = s_.position.x - fx0, fy_ = s_.position.y - fy0;
        keyFace_ = surface_.face;
        keyDepth_ = surface_.depth;
        float spacing = nextSpacing();

        if (pass == 0) {
            const float tau = strokePosition(0.0f, pass);
            stamp(1.0f, tau, sizeDamping(tau));
        }
        float t = 0.0f, accumulated = 0.0f;
        for (int steps = 0; t < distance && steps < stepLimit_; ++steps) {
            const float from = t;
            if (!followSurface(theta))
                t = s_.rough >= 1.0f ? distance : t + (distance - t) * s_.rough;
            const float remaining = distance - t;
            const float h = std::min(1.0f, remaining);
            // The last partial step lands on the end exactly, so rounding cannot leave a sliver.
            t = remaining <= 1.0f ? distance : t + h;
            if (!(t > from))
                break;  // so far along a huge stroke that a step no longer moves t

            const float wave = std::sin(t * frequency * inverseLength_ + s_.deformPhase);
            const float ct = std::cos(theta), st = std::sin(theta);
            Point2 step{ct * h + s_.deformAmplitude * st * h * wave,
                        st * h - s_.deformAmplitude * ct * h * wave};
            if (s_.rake == 1) {
                const float len = std::sqrt(step.x * step.x + step.y * step.y);
                if (len > 0.0f) {
                    const float nx = step.x / len, ny = step.y / len;
                    dabAngle_ += c0 * ny - s0 * nx;
                    c0 = nx, s0 = ny;
                }
            }
            if (pass == 1)
                step = {-step.x, -step.y};
            advance(fx_, px_, step.x);
            advance(fy_, py_, step.y);

            const float tau = strokePosition(t, pass);
            const float sigma = sizeDamping(tau);
            accumulated += h;
            const float sp = sigma * spacing;
            if (sp <= 1.0f || sp <= accumulated) {
                accumulated = sp <= 1.0f ? sp : accumulated - std::trunc(accumulated / sp) * sp;
                if (s_.spacingBase != 0.0f)
                    spacing = nextSpacing();
                stamp(h, tau, sigma);
            }
        }
    }

    // One pixel at most per step.
    static void advance(float& fraction, int& pixel, float delta)
    {
        fraction += delta;
        if (fraction >= 1.0f)
            ++pixel, fraction -= 1.0f;
        else if (fraction < 0.0f)
            --pixel, fraction += 1.0f;
    }

    void nextRandomVariant()
    {
        variantSeed_ = static_cast<std::uint16_t>(lcgNext(randomTableB[variantSeed_]));
        const int n = std::max(1, brush_.variantCount());
        variantIndex_ = n < 3 ? (variantIndex_ + 1) % n : (variantIndex_ + 1 + variantSeed_ % (n - 1)) % n;
        brush_.setVariant(variantSeed_, variantIndex_);
    }

    void stamp(float h, float tau, float sigma)
    {
        float angle = dabAngle_;
        if (s_.rake == 2) {
            angle = s_.dabAngle + radians(dabRandom_.centred() * s_.brushMapAngleRnd);
            nextRandomVariant();
        }
        const float a = alphaDamping(tau, h);
        if (!(a > 0.0f))
            return;
        ++counts_.dabs;
        if (trace_)
            trace_->push_back(
                {{static_cast<float>(px_) + fx_, static_cast<float>(py_) + fy_}, a, sigma, variantIndex_});

        const int r = s_.halfBox;
        const int x0 = std::max(px_ - r, 0), x1 = std::min(px_ + r, canvas_.width() - 1);
        const int y0 = std::max(py_ - r, 0), y1 = std::min(py_ + r, canvas_.height() - 1);
        if (x0 > x1 || y0 > y1)
            return;

        float k = dabTextureScale / s_.size;
        if (sigma != 1.0f)
            k /= sigma;
        const float cs = std::cos(angle) * k, sn = std::sin(angle) * k;
        const float X = static_cast<float>(x0 - px_) - fx_;
        const float Y = static_cast<float>(py_ - y0) + fy_;
        float rowU = cs * X - sn * Y + 0.5f;
        float rowV = sn * X + cs * Y + 0.5f;
        brush_.beginDab(cs, sn);

        const int columns = x1 - x0 + 1;
        if (rowValues_.size() < static_cast<std::size_t>(columns))
            rowValues_.resize(static_cast<std::size_t>(columns));
        int rowFirst = y0, rowLast = y1;
        if (!tipRows(brush_.tipBounds(columns), cs, sn, rowFirst, rowLast))
            return;
        // Two passes over the rows. The first works out each row's run inside the brush square
        // and, from a cached tile, the reads that can meet its tip: the rows do not depend on one
        // another, so their divisions and roundings overlap instead of waiting for each other's
        // reads. The second selects, reads and raises the rows in order.
        const BrushTileSampler* tile = brush_.dabTile();
        plans_.clear();
        for (int y = y0; y <= rowLast; ++y, rowU += sn, rowV -= cs) {
            // Rows before the tip still step (u, v), so that every row reads where it would.
            if (y < rowFirst)
                continue;
            // The run of columns whose (u, v) lies in the brush square: one interval, as the
            // row is a line through a convex square.
            int first = 0, last = columns - 1;
            clipToUnit(rowU, cs, first, last);
            clipToUnit(rowV, sn, first, last);
            RowPlan plan;
            if (first <= last) {
                plan.inside = true;
                plan.column = x0 + first;
                plan.count = last - first + 1;
                plan.u = rowU + static_cast<float>(first) * cs,
                plan.v = rowV + static_cast<float>(first) * sn;
                if (tile)
                    plan.run = tile->planNonzeroRun(plan.u, plan.v, plan.count);
            }
            plans_.push_back(plan);
        }
        bool earlierRowInside = false;
        float* const values = rowValues_.data();
        int y = rowFirst;
        for (const RowPlan& plan : plans_) {
            canvas_.SelectRowTracked(y++);
            if (!plan.inside) {
                if (earlierRowInside)
                    break;  // the dab is behind us
                continue;
            }
            earlierRowInside = true;
            ReadRun run = plan.run.reads;
            if (tile)
                tile->readPlanned(plan.run, values);
            else
                run = brush_.sampleRow(plan.u, plan.v, plan.count, values);
            if (run.count > 0)
                counts_.dabPixels += canvas_.RaiseCoverageRun(plan.column + run.first, values, run.count, a);
        }
    }

    // Narrows the dab's rows [first, last] to those that can read the brush inside `tip`: its
    // corners taken back to the canvas, rounded outward to whole rows (the tip's bounds already
    // allow for the rows' own rounding). False when no row can.
    bool tipRows(const TextureBox& tip, float cs, float sn, int& first, int& last) const
    {
        if (tip.empty())
            return false;
        // (u, v) - 0.5 = (cs X - sn Y, sn X + cs Y) for the pixel at X = x - px - fx and
        // Y = py + fy - y, so Y = (cs (v - 0.5) - sn (u - 0.5)) / (cs^2 + sn^2).
        const double c = cs, s = sn, k2 = c * c + s * s;
        if (!(k2 > 0.0) || !std::isfinite(k2))
            return true;
        double low = INFINITY, high = -INFINITY;
        for (const float u : {tip.u0, tip.u1})
            for (const float v : {tip.v0, tip.v1}) {
                const double Y = (c * (v - 0.5) - s * (u - 0.5)) / k2;
                low = std::min(low, Y), high = std::max(high, Y);
            }
        const double centre = static_cast<double>(py_) + fy_;
        const double top = std::floor(centre - high), bottom = std::ceil(centre - low);
        if (!(top <= bottom))
            return true;  // not a number: keep every row
        first = static_cast<int>(std::clamp<double>(top, first, last + 1.0));
        last = static_cast<int>(std::clamp<double>(bottom, first - 1.0, last));
        return first <= last;
    }

    // Narrows [first, last] to the steps i with 0 <= start + i x step <= 1.
    static void clipToUnit(float start, float step, int& first, int& last)
    {
        if (step == 0.0f) {
            if (!(start >= 0.0f && start <= 1.0f))
                last = first - 1;
            return;
        }
        float lo = (0.0f - start) / step, hi = (1.0f - start) / step;
        if (step < 0.0f)
            std::swap(lo, hi);
        if (!(hi >= static_cast<float>(first) && lo <= static_cast<float>(last))) {
            last = first - 1;
            return;
        }
        // Held to a step beyond [first, last], which leaves the result as it is and the value
        // well within int, rounded by truncation: std::ceil and std::floor are calls on the
        // baseline instruction set, and this runs for every row of every dab.
        lo = std::max(lo, static_cast<float>(first) - 1.0f);
        hi = std::min(hi, static_cast<float>(last) + 1.0f);
        const int loDown = static_cast<int>(lo), hiDown = static_cast<int>(hi);
        first = std::max(first, loDown + (static_cast<float>(loDown) < lo ? 1 : 0));
        last = std::min(last, hiDown - (static_cast<float>(hiDown) > hi ? 1 : 0));
    }

    const StrokeSetup& s_;
    const StrokeSurface& surface_;
    DabBrush& brush_;
    Canvas& canvas_;
    std::vector<DabTrace>* trace_;
    StrokeRandom spacingRandom_;
    StrokeRandom dabRandom_;
    std::uint16_t variantSeed_;
    int variantIndex_;
    float inverseLength_ = 1e8f;
    int offsetX_ = 0, offsetY_ = 0;  // the offset to the samples, in whole pixels
    int stepLimit_ = 0;
    int px_ = 0, py_ = 0;
    float fx_ = 0.0f, fy_ = 0.0f;
    float dabAngle_ = 0.0f;
    int keyFace_ = 0;
    float keyDepth_ = 0.0f;
    StrokeWalkCounts counts_;
    std::vector<float> rowValues_;
    // A dab row's run: outside the brush square unless `inside`; else its first pixel inside
    // (canvas column and texture coordinates), how many follow inside, and from a cached tile
    // the reads among them that can meet the tip.
    struct RowPlan {
        bool inside = false;
        int column = 0, count = 0;
        float u = 0.0f, v = 0.0f;
        BrushTileSampler::PlannedRun run;
    };
    std::vector<RowPlan> plans_;
};

}  // namespace

int walkStepLimit(int width, int height)
{
    const auto inRange = static_cast<std::int64_t>(std::ceil(longestInRangeStroke())) + 2;
    const std::int64_t crossings = canvasCrossings * (std::max(width, 0) + std::int64_t{std::max(height, 0)});
    // Held far below int's end, so step counts and pixel coordinates built on it cannot overflow.
    return static_cast<int>(std::min<std::int64_t>(std::max(inRange, crossings), std::int64_t{1} << 28));
}

StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            vmlRasterBase& canvas, std::vector<DabTrace>* trace)
{
    brush.setVariant(setup.variantSeed, setup.variantIndex);
    return StrokeWalker<vmlRasterBase>(setup, surface, brush, canvas, trace).run();
}

StrokeWalkCounts walkStroke(const StrokeSetup& setup, const StrokeSurface& surface, DabBrush& brush,
                            CoverageRecording& recording)
{
    brush.setVariant(setup.variantSeed, setup.variantIndex);
    return StrokeWalker<CoverageRecording>(setup, surface, brush, recording, nullptr).run();
}

}  // namespace vml
