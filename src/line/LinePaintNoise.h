#pragma once
// The random values of the line paint cells: a value-noise lattice over randomTableA. Lattice
// point (column c, row l) owns the generator stream seeded with randomTableA[l * 0x4180 + c]
// (16-bit index); its n-th draw is the lattice value for draw n. A paint cell spans the square
// between its four corner points, and a value inside the cell is the weighted mean of the four
// corners' values, so neighbouring cells agree along their shared edges and the paint varies
// smoothly instead of in blocks.

#include <array>
#include <cstdint>

namespace vml {

// The per-cell draws, in the order they are taken from each stream.
enum LinePaintDraw : int {
    paintDrawRed,
    paintDrawGreen,
    paintDrawBlue,
    paintDrawBlur,
    paintDrawBlurBound,
    paintDrawDry,
    paintDrawWind,
    paintDrawMix,
    paintDrawCount,
};

// Weight of a lattice point at distance d (0..1, in cell sides) along one axis: 1 up to 0.25,
// then falling with slope 4/3 to 0 at the far corner.
float latticeWeight(float d);

class LinePaintNoise {
public:
    // Precondition: randomTableA is filled. Negative cell indices wrap like any other index.
    LinePaintNoise(int cellColumn, int cellRow);

    // Every draw (indexed by LinePaintDraw) at fractional position (fx, fy) inside the cell, (0, 0)
    // at its first corner; positions are held to 0..1. Each value lies in 0..1.
    std::array<float, paintDrawCount> values(float fx, float fy) const;

private:
    // corners_[k][n]: draw n of corner k; corners in the order (0, 0), (1, 0), (0, 1), (1, 1).
    std::array<std::array<std::uint32_t, paintDrawCount>, 4> corners_{};
};

}  // namespace vml
