#pragma once
// Helpers for the shade-entry tests: the material host with the scanline renderer installed, a
// shading context the test places at any pixel, and base materials and lights with known answers.

#include "material/vmlMaterialParamBlocks.h"
#include "renderer/SampleGrid.h"
#include "standalone/ScanlineRenderer.h"
#include "support/MaterialTestSupport.h"
#include "support/ScanlineTestSupport.h"
#include "support/TestShadeContext.h"

#include <vector>

namespace test_support {

class ShadingFixture : public test_support::MaterialFixture {
protected:
    void SetUp() override
    {
        MaterialFixture::SetUp();
        standalone::installScanlineRenderer(core);
    }
};

// A camera-ray sample the test places: pixel, sub-pixel, node, face and background.
class PixelContext : public test_support::TestShadeContext {
public:
    IPoint2 ScreenCoord() override { return pixel; }
    Point2 SubPixel() override { return subPixel; }
    int NodeID() override { return nodeId; }
    int FaceNumber() override { return face; }
    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG) override
    {
        bgcol = background, transp = Color(0.0f, 0.25f, 0.0f), askedFog = fogBG;
    }

    IPoint2 pixel;
    Point2 subPixel{0.5f, 0.5f};
    int nodeId = 40, face = 0;
    Color background{0.1f, 0.2f, 0.3f};
    BOOL askedFog = -1;
};

// A light of one colour from straight ahead.
class FlatLight : public LightDesc {
public:
    explicit FlatLight(Color c) : colour(c) {}
    BOOL Illuminate(ShadeContext&, const Point3&, Color& color, Point3& dir, float& dotNL,
                    float& coef) override
    {
        color = colour, dir = Point3(0, 0, 1), dotNL = coef = 1.0f;
        return TRUE;
    }
    Color colour;
};

// diffuse x (ambient + each light's colour x its coefficient), opaque; records its normals.
class LitMtl : public Mtl {
public:
    void Shade(ShadeContext& sc) override
    {
        Color light = sc.ambientLight, c;
        Point3 dir;
        float dotNL = 0, coef = 0;
        for (int i = 0; i < sc.nLights; ++i)
            if (LightDesc* l = sc.Light(i); l && l->Illuminate(sc, sc.Normal(), c, dir, dotNL, coef))
                light += c * coef;
        sc.out.c = diffuse * light, sc.out.t = Color();
        normalsSeen.push_back(sc.Normal());
    }
    void Update(TimeValue, Interval&) override {}

    Color diffuse{0.5f, 0.4f, 0.2f};
    std::vector<Point3> normalsSeen;
};

// Colour from the shading normal, so neighbouring samples differ. Thread-safe.
class NormalColourMtl : public Mtl {
public:
    void Shade(ShadeContext& sc) override
    {
        const Point3 n = Normalize(sc.Normal());
        sc.out.c = Color(n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f), sc.out.t = Color();
    }
    void Update(TimeValue, Interval&) override {}
};

// The samples filed for pixel (x, y), head first.
inline std::vector<vml::PixelSample> samplesAt(vml::SampleGrid& grid, int x, int y)
{
    std::vector<vml::PixelSample> out;
    for (vml::SampleGrid::Index i = grid.first(x, y); i != vml::SampleGrid::none; i = grid.next(i))
        out.push_back(grid.sample(i));
    return out;
}

}  // namespace test_support
