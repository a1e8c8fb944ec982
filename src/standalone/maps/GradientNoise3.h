#pragma once
// Three-dimensional gradient noise: smooth, deterministic on every machine (the lattice gradients
// come from an integer hash, not from a random generator), zero at lattice points, within [-1, 1].

#include "host/Point3.h"

namespace standalone {

float gradientNoise3(const Point3& p);

// Sum of octaves, each at twice the frequency and half the amplitude of the one before,
// normalised back to [-1, 1]. octaves is clamped to 1..10.
float fractalNoise3(const Point3& p, int octaves);

}  // namespace standalone
