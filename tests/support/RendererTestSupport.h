#pragma once
// The standalone host set up as the plug-in's host for vmlRenderer tests: the core interface with
// the scanline renderer and the plug-in's classes, a small scene, and helpers to run frames.

#include <gtest/gtest.h>

#include "host/Bitmap.h"
#include "host/INode.h"
#include "host/Notify.h"
#include "host/RenderGlobalContext.h"
#include "host/Texmap.h"
#include "plugin/EntryPoints.h"
#include "renderer/vmlRenderer.h"
#include "shell/StringLookup.h"
#include "standalone/RenderJob.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/StandaloneCore.h"
#include "support/PluginClasses.h"
#include "support/ScanlineTestSupport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test_support {

// The host as the CLI sets it up, installed for one test.
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCOREInterface(&core);
        core.setMessageStream(nullptr);
        standalone::installScanlineRenderer(core);
        loadPluginClasses(core);
    }
    void TearDown() override
    {
        vml::currentRenderer = nullptr;
        vml::lastRenderer = nullptr;
        SetCOREInterface(nullptr);
    }

    int messageCount(const std::string& text) const
    {
        int n = 0;
        for (const auto& m : core.messages())
            n += m.text == text ? 1 : 0;
        return n;
    }

    standalone::StandaloneCore core;
};

// A camera at the origin looking down -z over three rectangles: an opaque red one, a green one in
// front of it that covers pixels partially, and a half-transparent blue one; black background.
inline std::unique_ptr<test_support::TestScene> smallScene(int width = 24, int height = 16)
{
    using test_support::ConstantMtl;
    auto ts = test_support::TestScene::perspective(60.0f);
    ts->scene.render.width = width;
    ts->scene.render.height = height;
    ts->add("red", test_support::rectMesh(-2.0f, -1.5f, 1.0f, 1.0f, -5.0f),
            ts->material<ConstantMtl>(Color(0.8f, 0.1f, 0.1f)));
    ts->add("green", test_support::rectMesh(-0.37f, -0.81f, 1.43f, 0.53f, -4.0f),
            ts->material<ConstantMtl>(Color(0.1f, 0.7f, 0.2f)));
    ts->add("blue", test_support::rectMesh(-1.3f, -0.2f, 0.2f, 1.7f, -3.0f),
            ts->material<ConstantMtl>(Color(0.05f, 0.1f, 0.4f), Color(0.5f, 0.5f, 0.5f)));
    return ts;
}

// A string of the plug-in's table, empty when missing.
inline std::string text(int id)
{
    const char* s = vml::getString(id);
    return s ? s : "";
}

// A session of `scene` rendered by `r`, opened; a failed open fails the test.
inline std::unique_ptr<standalone::RenderSession>
openSession(standalone::Scene& scene, Renderer& r, const standalone::RenderJobOptions& options = {})
{
    auto session = std::make_unique<standalone::RenderSession>(scene, r, options);
    std::string error;
    EXPECT_TRUE(session->open(error)) << error;
    return session;
}

// A node whose group state and render switch a test sets.
class TestNode : public INode {
public:
    explicit TestNode(std::string name) : name_(std::move(name)) {}
    const char* GetName() override { return name_.c_str(); }
    INode* GetParentNode() override { return parent; }
    int NumberOfChildren() override { return static_cast<int>(children.size()); }
    INode* GetChildNode(int i) override { return children[static_cast<std::size_t>(i)]; }
    Matrix3 GetNodeTM(TimeValue, Interval*) override { return {}; }
    Matrix3 GetObjectTM(TimeValue, Interval*) override { return {}; }
    Mtl* GetMtl() override { return nullptr; }
    ULONG GetGBufferID() override { return 0; }
    BOOL Renderable() override { return renderable; }
    BOOL IsHidden() override { return FALSE; }
    BOOL IsGroupMember() override { return groupMember; }
    BOOL IsGroupHead() override { return groupHead; }
    BOOL ApplyAtmospherics() override { return TRUE; }

    void adopt(TestNode* child)
    {
        child->parent = this;
        children.push_back(child);
    }

    INode* parent = nullptr;
    std::vector<INode*> children;
    BOOL renderable = TRUE;
    BOOL groupMember = FALSE;
    BOOL groupHead = FALSE;

private:
    std::string name_;
};

// A map with a constant mono value that counts its updates and can fail to load its files.
class ConstantMap : public Texmap {
public:
    explicit ConstantMap(float mono) : value(mono) {}
    AColor EvalColor(ShadeContext&) override { return {value, value, value, 1.0f}; }
    void Update(TimeValue t, Interval&) override { updatedAt.push_back(t); }
    bool LoadMapFiles(TimeValue) override { return loadSucceeds; }
    ReferenceTarget* Clone() override { return new ConstantMap(value); }

    float value;
    bool loadSucceeds = true;
    std::vector<TimeValue> updatedAt;
};

// Runs `action` for a notification code while registered; the registration follows any made
// before it, so it runs after them.
class NotificationProbe {
public:
    NotificationProbe(int code, std::function<void(RenderGlobalContext*)> action)
        : code_(code), action_(std::move(action))
    {
        RegisterNotification(call, this, code_);
    }
    ~NotificationProbe() { UnRegisterNotification(call, this, code_); }
    NotificationProbe(const NotificationProbe&) = delete;
    NotificationProbe& operator=(const NotificationProbe&) = delete;

private:
    static void call(void* param, NotifyInfo* info)
    {
        static_cast<NotificationProbe*>(param)->action_(static_cast<RenderGlobalContext*>(info->callParam));
    }
    int code_;
    std::function<void(RenderGlobalContext*)> action_;
};

// Every channel of every pixel of a and b differs by at most `tolerance`.
inline ::testing::AssertionResult sameImage(const Bitmap& a, const Bitmap& b, int tolerance)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            const BMM_Color_64 p = test_support::pixel(a, x, y), q = test_support::pixel(b, x, y);
            const int d[4] = {p.r - q.r, p.g - q.g, p.b - q.b, p.a - q.a};
            for (int c = 0; c < 4; ++c) {
                if (d[c] > tolerance || d[c] < -tolerance)
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") channel " << c << " differs by " << d[c];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace test_support
