#pragma once
// One-dimensional gradient (Perlin) noise: smooth, deterministic, zero at integer arguments,
// values within [-1, 1], period 256.

float noise1(float arg);
