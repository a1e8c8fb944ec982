#pragma once
// The procedural brush tip: the settings a brush caches at an update, the values derived from
// them, and the tip shape and bristle coverage as pure functions of them. The brush map, its
// preview and the stroke painter all evaluate the tip through these, so they agree exactly.
//
// Arithmetic is in float throughout; the random tables of shell/RandomTables.h must be filled
// before any evaluation.

namespace vml {

struct BrushShape {
    // Cached parameter values (percentages 0 to 100, angles in degrees).
    float mapOpacity = 100.0f;
    bool mapEnable = true;
    int type = 1;  // 1: multiple bristles
    float stretch = 0.0f;
    float stretchRnd = 0.0f;
    float angle = 0.0f;
    float angleRnd = 100.0f;
    float groove = 100.0f;
    int grooveNum = 5;
    float size = 5.0f;
    float sizeRnd = 0.0f;
    float anti = 25.0f;
    float hSpace = 0.0f;
    float hSpaceRand = 0.0f;
    float vSpace = 0.0f;
    float vSpaceRand = 0.0f;
    float dampStart = 50.0f;
    float dampEnd = 100.0f;
    bool cacheDisable = false;
    int rndNum = 5;  // variant count, kept at 1 or more

    // Derived by derive().
    float cellH = 0.0f;         // bristle cell width H
    float cellV = 0.0f;         // bristle cell height Vc
    float softness = 0.0f;      // e
    float radiusFactor = 0.0f;  // ra
    float maxDotRadius = 0.0f;  // Rmax
    float dampA = 0.0f;         // squared start radius
    float dampB = 0.0f;         // squared end radius
    float dampK = 0.0f;         // 1 / |a - b|; 0 when a == b, where the falloff is a hard edge
    float cosAngle = 1.0f;
    float sinAngle = 0.0f;

    BrushShape() { derive(); }
    // Recomputes the derived values from the cached ones; also raises rndNum to 1 at least.
    void derive();
};

// (0.375 - (x - 0.5)(x + 0.5)(x - 1.5)) / 0.75: 0, 0.5 and 1 at x = 0, 0.5 and 1.
float brushSmoothStep(float x);

// The tip shape S(u, v) for (u, v) in the unit square, in [0, 1]; variant j in 0..rndNum-1
// (0: no variant randomness). Non-finite coordinates give 0.
float tipShape(const BrushShape& s, float u, float v, int variant);

// Bristle coverage in [0, 1] at the tip-space point (p, q) (rotated, stretched and grooved, the
// tip's unit circle being radius 1).
float bristleCoverage(const BrushShape& s, float p, float q, int variant);

// Cells whose dots may reach coordinate c (already scaled by 50): first .. end-1. Never more
// than maxBristleCells cells: settings inside the parameter ranges need at most about 20, and a
// wider range (from values outside those ranges) keeps the cells nearest c.
struct BrushCellRange {
    int first = 0;
    int end = 0;
};
inline constexpr int maxBristleCells = 64;
BrushCellRange bristleCellRange(float c, float cell, float maxRadius);

}  // namespace vml
