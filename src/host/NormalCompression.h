#pragma once
// Packs a unit normal into 32 bits (octahedral mapping, 16 bits per coordinate) for the normal
// G-buffer channel and pixel samples. Decompression gives a unit vector within about 1e-4 of
// the original per component.

#include "host/MaxTypes.h"
#include "host/Point3.h"

DWORD CompressNormal(const Point3& n);
Point3 DeCompressNormal(DWORD packed);
