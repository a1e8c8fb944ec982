#pragma once
// Scenes, materials and helpers for the scanline renderer's tests. Scenes are built in code: a
// camera at the origin looking down -z (so camera space is world space) unless a test moves it.

#include "host/Bitmap.h"
#include "host/Mtl.h"
#include "host/Notify.h"
#include "host/RendParams.h"
#include "host/RenderGlobalContext.h"
#include "host/ShadeContext.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/Scene.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>

namespace test_support {

// Writes a constant premultiplied colour and transparency, and optionally a material-effects id.
class ConstantMtl : public Mtl {
public:
    ConstantMtl(Color c, Color t = Color(), int gbufId = 0, ULONG requirements = 0)
        : colour(c), transparency(t), gbufferId(gbufId), reqs(requirements)
    {}
    void Shade(ShadeContext& sc) override
    {
        sc.out.c = colour;
        sc.out.t = transparency;
        if (gbufferId)
            sc.SetGBufferID(gbufferId);
    }
    void Update(TimeValue, Interval&) override {}
    ULONG Requirements(int) override { return reqs; }

    Color colour, transparency;
    int gbufferId;
    ULONG reqs;
};

// Calls a probe on every shade (serialised), then shades like ConstantMtl.
class ProbeMtl : public ConstantMtl {
public:
    explicit ProbeMtl(std::function<void(ShadeContext&)> onShade, Color c = Color(1, 1, 1),
                      ULONG requirements = 0)
        : ConstantMtl(c, Color(), 0, requirements), probe(std::move(onShade))
    {}
    void Shade(ShadeContext& sc) override
    {
        {
            std::lock_guard lock(mutex);
            probe(sc);
        }
        ConstantMtl::Shade(sc);
    }

    std::function<void(ShadeContext&)> probe;
    std::mutex mutex;
};

// Quad a b c d as two triangles sharing the diagonal a-c; UVs run 0..1 from a to c.
inline std::shared_ptr<Mesh> quadMesh(const Point3& a, const Point3& b, const Point3& c, const Point3& d)
{
    auto m = std::make_shared<Mesh>();
    m->verts = {a, b, c, d};
    Face f0, f1;
    f0.v[0] = 0, f0.v[1] = 1, f0.v[2] = 2;
    f1.v[0] = 0, f1.v[1] = 2, f1.v[2] = 3;
    m->faces = {f0, f1};
    m->tVerts = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    TVFace t0, t1;
    t0.t[0] = 0, t0.t[1] = 1, t0.t[2] = 2;
    t1.t[0] = 0, t1.t[1] = 2, t1.t[2] = 3;
    m->tvFace = {t0, t1};
    return m;
}

// Axis-aligned rectangle [x0, x1] x [y0, y1] in the plane z, facing +z (toward a camera at the
// origin looking down -z).
inline std::shared_ptr<Mesh> rectMesh(float x0, float y0, float x1, float y1, float z)
{
    return quadMesh({x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z});
}

struct TestScene {
    standalone::Scene scene;
    standalone::SceneNode* camera = nullptr;

    // Perspective camera with the given horizontal field of view (degrees) at the origin.
    static std::unique_ptr<TestScene> perspective(float fovDegrees)
    {
        auto s = std::make_unique<TestScene>();
        s->camera = s->scene.addNode("camera");
        s->camera->camera = standalone::CameraSettings{};
        s->camera->camera->fov = fovDegrees;
        s->scene.camera = s->camera;
        return s;
    }
    // Orthographic camera seeing `width` world units across the image.
    static std::unique_ptr<TestScene> orthographic(float width)
    {
        auto s = perspective(45.0f);
        s->camera->camera->orthographic = true;
        s->camera->camera->orthoWidth = width;
        return s;
    }

    standalone::SceneNode* add(const char* name, std::shared_ptr<Mesh> mesh, Mtl* mtl)
    {
        standalone::SceneNode* n = scene.addNode(name);
        n->setMesh(std::move(mesh));
        n->setMtl(mtl);
        return n;
    }
    template <class M, class... Args> M* material(Args&&... args)
    {
        return scene.own(std::make_unique<M>(std::forward<Args>(args)...));
    }
};

struct RenderSetup {
    int width = 16, height = 16;
    bool antialias = true;
    Color background{0, 0, 0};
    float backgroundAlpha = 1.0f;
    Color ambient{0, 0, 0};
    Effect* effect = nullptr;
    IRenderElementMgr* elements = nullptr;
    RendProgressCallback* progress = nullptr;
    int threads = 0;
    TimeValue time = 0;
    ULONG gbufferChannels = BMM_CHAN_RENDER_DEFAULT;
};

// Opens renderer on the scene, renders one frame into bm (allocated to the setup's size) and
// keeps the renderer open; returns Render's answer.
inline int renderOpen(standalone::ScanlineRenderer& renderer, TestScene& ts, Bitmap& bm, const RenderSetup& s)
{
    RendParams rp;
    rp.width = s.width, rp.height = s.height;
    rp.antialias = s.antialias ? TRUE : FALSE;
    rp.effect = s.effect;
    rp.gbufferChannels = s.gbufferChannels;
    rp.SetRenderElementMgr(s.elements);
    renderer.setThreadCount(s.threads);
    if (!renderer.Open(ts.scene.root(), ts.camera, nullptr, rp, nullptr, s.progress))
        return 0;
    bm.Allocate(s.width, s.height);
    FrameRendParams frp;
    frp.background = s.background;
    frp.backgroundAlpha = s.backgroundAlpha;
    frp.ambient = s.ambient;
    return renderer.Render(s.time, &bm, frp, nullptr, s.progress, nullptr);
}

inline int render(TestScene& ts, Bitmap& bm, const RenderSetup& s = {})
{
    standalone::ScanlineRenderer renderer;
    int ok = renderOpen(renderer, ts, bm, s);
    renderer.Close(nullptr, nullptr);
    return ok;
}

// Renders one frame and expects it to succeed.
inline Bitmap rendered(TestScene& ts, const RenderSetup& s = {})
{
    Bitmap bm;
    EXPECT_EQ(render(ts, bm, s), 1);
    return bm;
}

inline BMM_Color_64 pixel(const Bitmap& bm, int x, int y)
{
    BMM_Color_64 p;
    bm.GetPixels(x, y, 1, &p);
    return p;
}

// Registers a callback for the frame notifications for the lifetime of the object.
class FrameHook {
public:
    using Fn = std::function<void(int code, RenderGlobalContext*)>;
    explicit FrameHook(Fn fn) : fn_(std::move(fn))
    {
        RegisterNotification(call, this, NOTIFY_PRE_RENDERFRAME);
        RegisterNotification(call, this, NOTIFY_POST_RENDERFRAME);
    }
    ~FrameHook()
    {
        UnRegisterNotification(call, this, NOTIFY_PRE_RENDERFRAME);
        UnRegisterNotification(call, this, NOTIFY_POST_RENDERFRAME);
    }

private:
    static void call(void* self, NotifyInfo* info)
    {
        static_cast<FrameHook*>(self)->fn_(info->intcode, static_cast<RenderGlobalContext*>(info->callParam));
    }
    Fn fn_;
};

// 16-bit value of a channel value in 0..1, as the renderer stores it.
constexpr std::uint16_t q16(double v) { return static_cast<std::uint16_t>(v * 65535.0); }
constexpr BMM_Color_64 rgba(double r, double g, double b, double a = 1.0)
{
    return {q16(r), q16(g), q16(b), q16(a)};
}

template <class T> T channelAt(const Bitmap& bm, ULONG channel, int x, int y)
{
    const T* data = bm.Channel<T>(channel);
    return data ? data[static_cast<std::size_t>(y) * bm.Width() + x] : T{};
}

}  // namespace test_support
