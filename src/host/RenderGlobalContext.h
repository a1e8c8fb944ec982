#pragma once
// What the renderer tells everyone about the frame it is rendering: the projection, the camera,
// the flags, the environment, the instances and the render elements.
//
// Projection: perspective screen x = xc + xscale * x / z, y = yc + yscale * y / z (xscale < 0,
// yscale > 0); parallel x = xc + xscale * x, y = yc + yscale * y (xscale > 0, yscale < 0).

#include "host/Color.h"
#include "host/Matrix3.h"
#include "host/MaxTypes.h"
#include "host/Point2.h"

class IRenderElementMgr;
class RenderInstance;
class Renderer;
class Texmap;

class RenderGlobalContext {
public:
    virtual ~RenderGlobalContext() = default;

    Renderer* renderer = nullptr;
    int projType = 0;  // PROJ_PERSPECTIVE or PROJ_PARALLEL
    int devWidth = 0, devHeight = 0;
    float xscale = 0.0f, yscale = 0.0f;
    float xc = 0.0f, yc = 0.0f;
    float devAspect = 1.0f;
    BOOL antialias = FALSE;
    BOOL inMtlEdit = FALSE;
    BOOL fieldRender = FALSE;
    Matrix3 camToWorld;
    Matrix3 worldToCam;
    float nearRange = 0.0f, farRange = 1.0e30f;
    TimeValue time = 0;
    Texmap* envMap = nullptr;
    Color globalLightLevel{1.0f, 1.0f, 1.0f};
    // Atmosphere and tone operator: the standalone host has neither.
    void* atmos = nullptr;
    void* pToneOp = nullptr;

    virtual int NumRenderInstances() = 0;
    virtual RenderInstance* GetRenderInstance(int i) = 0;
    virtual IRenderElementMgr* GetRenderElementMgr() = 0;

    // Camera-space point to floating-point screen coordinates.
    Point2 MapToScreen(const Point3& p) const;
    // Unit camera-space direction of the ray through a screen point.
    Point3 RayDirection(const Point2& screen) const;
};
