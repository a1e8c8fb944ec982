#pragma once
// Plug-in-style classes for scene-document tests: each keeps one auto-constructed parameter
// block in reference 0 and exposes it for access by script name.

#include "host/Effect.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/RenderElement.h"
#include "host/Renderer.h"
#include "host/Texmap.h"
#include "standalone/StandaloneCore.h"

#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// Parameter ids of the test material's block.
enum MtlParam : ParamID {
    mtl_diffuse,
    mtl_glossiness,
    mtl_layers,
    mtl_twoSided,
    mtl_tint,
    mtl_offset,
    mtl_label,
    mtl_texture,
    mtl_diffuseMap,
    mtl_coat,
    mtl_focus,
    mtl_weights,
    mtl_maps,
    mtl_angle,
};
// Parameter ids of the test map's block.
enum MapParam : ParamID { map_color, map_scale, map_source, map_file };

// Registers TestMtl, TestWrapper (TestMtl with one sub-material slot), TestMap, TestEffect,
// TestElement and TestRenderer with core, plus
// "Broken" (a material class whose Create fails) and "Impostor" (claims to make materials but
// makes a map).
void registerTestClasses(standalone::StandaloneCore& core);

// The block of a test object (reference 0).
IParamBlock2* blockOf(ReferenceTarget* object);

// Writes an 8-bit RGB PNG (rows top first), creating its folder.
void writePng(const std::filesystem::path& file, int w, int h, const std::vector<unsigned char>& rgb);

}  // namespace test_support
