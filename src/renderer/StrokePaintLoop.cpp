#include "renderer/StrokePaintLoop.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vml {

namespace {

// Progress takes ints; stroke counts beyond that are reported as a fraction of INT_MAX.
int progressUnits(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, INT_MAX)); }

}  // namespace

int storeInterval(std::size_t strokeCount, bool inMtlEdit)
{
    if (inMtlEdit)
        return progressUnits(std::min<std::size_t>(strokeCount, INT_MAX - 2) + 2);
    return static_cast<int>(std::clamp<std::size_t>(strokeCount / 10, 20, 2000));
}

int bleedMaskValue(float mono, int amountPercent)
{
    float s = 1.0f - static_cast<float>(amountPercent) * mono * 0.01f;
    // A map answering NaN says nothing: full strength, as without a map.
    if (std::isnan(s))
        s = 1.0f;
    return static_cast<int>(255.0f * std::clamp(s, 0.0f, 1.0f));
}

bool runStrokeLoop(StrokePaintSteps& steps, std::size_t count, int interval)
{
    int bleedCounter = bleedCounterStart;
    int storeCounter = interval;
    const int total = progressUnits(count);
    for (std::size_t i = 1; i <= count; ++i) {
        steps.paintStroke(i - 1);
        if (bleedCounter == 0) {
            steps.bleed();
            bleedCounter = bleedCounterStart;
        } else {
            --bleedCounter;
        }
        if (storeCounter == 0) {
            steps.store();
            storeCounter = interval;
        } else {
            --storeCounter;
        }
        if (i % strokeCheckInterval == 0) {
            if (steps.cancelled())
                return false;
            steps.progress(progressUnits(i), total);
        }
    }
    return true;
}

int runFinalBleed(StrokePaintSteps& steps)
{
    int run = 0;
    for (int k = 0; k < finalBleedSteps; ++k) {
        if (steps.cancelled())
            break;
        ++run;
        if (!steps.bleed())
            break;
        if (k % finalBleedStoreEvery == 0)
            steps.store();
        steps.progress(k, finalBleedSteps);
    }
    return run;
}

}  // namespace vml
