#pragma once
// The painting schedule of one pass: every stroke in depth order with a bleed step every 101
// strokes and an intermediate store every n + 1, then up to 81 bleed steps while paint still
// moves. The steps themselves are the caller's, so the schedule can be run without a canvas.

#include <cstddef>

namespace vml {

// Strokes between two bleed steps while painting, less one: a step runs when the counter,
// started here and decremented per stroke, is found at 0.
constexpr int bleedCounterStart = 100;
// Bleed steps after the last stroke; a store follows every eighth.
constexpr int finalBleedSteps = 81;
constexpr int finalBleedStoreEvery = 8;
// Strokes between cancel checks and progress reports.
constexpr int strokeCheckInterval = 64;
// Strength of one bleed step.
constexpr float bleedStepStrength = 0.2f;

// Intermediate stores: every strokeCount / 10 strokes, within 20..2000; in the material editor
// none (the interval is beyond the last stroke).
int storeInterval(std::size_t strokeCount, bool inMtlEdit);

// Bleed strength of a pixel, 0..255, from the bleed-strength map's mono value m and the amount
// in percent: where the map is bright, paint bleeds less.
int bleedMaskValue(float mono, int amountPercent);

class StrokePaintSteps {
public:
    virtual ~StrokePaintSteps() = default;
    virtual void paintStroke(std::size_t index) = 0;
    // One bleed step; true while paint still moves.
    virtual bool bleed() = 0;
    virtual void store() = 0;
    virtual bool cancelled() = 0;
    virtual void progress(int done, int total) = 0;
};

// Paints strokes 0..count-1; true when every stroke was painted (no cancel).
bool runStrokeLoop(StrokePaintSteps& steps, std::size_t count, int interval);
// The bleed phase after the last stroke; returns the number of bleed steps run.
int runFinalBleed(StrokePaintSteps& steps);

}  // namespace vml
