#include "renderer/NodeRecords.h"
#include "renderer/StrokeSeed.h"
#include "support/StoreTestSupport.h"

#include "host/Mesh.h"
#include "host/Mtl.h"
#include "host/RenderGlobalContext.h"
#include "host/RenderInstance.h"
#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace test_support;
using vml::NodeRecords;

namespace {

class FakeInstance : public RenderInstance {
public:
    Point3 offset;  // camera space = object space + offset
    INode* GetINode() override { return nullptr; }
    int NumLights() override { return 0; }
    LightDesc* Light(int) override { return nullptr; }
    Point3 GetCamVert(int i) override { return meshData.getVert(i) + offset; }
    Point3 GetFaceNormal(int) override { return {}; }
    Mesh meshData;
};

class FakeContext : public RenderGlobalContext {
public:
    std::vector<std::unique_ptr<FakeInstance>> instances;
    int NumRenderInstances() override { return static_cast<int>(instances.size()); }
    RenderInstance* GetRenderInstance(int i) override { return instances[static_cast<std::size_t>(i)].get(); }
    IRenderElementMgr* GetRenderElementMgr() override { return nullptr; }
};

class FakeMtl : public Mtl {
public:
    bool painterly = false, rndAuto = false, moveDetect = false;
    void Shade(ShadeContext&) override {}
    void Update(TimeValue, Interval&) override {}
};

class FakeProbe : public vml::PainterlyMaterialProbe {
public:
    bool isPainterlyMaterial(Mtl* m) const override
    {
        auto* f = dynamic_cast<FakeMtl*>(m);
        return f && f->painterly;
    }
    BaseSwitches baseSwitches(Mtl* m, TimeValue) const override
    {
        auto* f = static_cast<FakeMtl*>(m);
        return {f->rndAuto, f->moveDetect};
    }
};

// Two faces sharing vertex 1: twice-areas 1 and 3 (radius 10).
FakeInstance* addInstance(FakeContext& gc, Mtl* mtl, int nodeId)
{
    auto inst = std::make_unique<FakeInstance>();
    inst->meshData.verts = {{0, 0, -5}, {1, 0, -5}, {0, 1, -5}, {4, 0, -5}};
    Face a, b;
    a.v[0] = 0, a.v[1] = 1, a.v[2] = 2;
    b.v[0] = 1, b.v[1] = 3, b.v[2] = 2;
    inst->meshData.faces = {a, b};
    inst->mesh = &inst->meshData;
    inst->mtl = mtl;
    inst->nodeID = nodeId;
    inst->radsq = 100.0f;
    gc.instances.push_back(std::move(inst));
    return gc.instances.back().get();
}

class NodeRecordsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        material.painterly = material.rndAuto = material.moveDetect = true;
        records.setMaterialProbe(&probe);
    }
    FakeProbe probe;
    FakeMtl material;
    FakeContext gc;
    NodeRecords records;
};

TEST_F(NodeRecordsFixture, FaceSizesSpanMinusOneToOne)
{
    addInstance(gc, &material, 4);
    records.update(gc);
    EXPECT_FLOAT_EQ(records.record(0).minFaceSize, 1.0f);
    EXPECT_FLOAT_EQ(records.record(0).faceSizeScale, 1.0f);  // 2 / (3 - 1)
    EXPECT_FLOAT_EQ(records.faceSizeFactor(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(records.faceSizeFactor(0, 1), 1.0f);
    EXPECT_EQ(records.faceSizeFactor(0, 2), 0.0f);  // out of range
    // Equal faces: no scale, every face is the smallest.
    gc.instances[0]->meshData.verts[3] = {1, 1, -5};
    records.update(gc);
    EXPECT_EQ(records.record(0).faceSizeScale, 0.0f);
    EXPECT_FLOAT_EQ(records.faceSizeFactor(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(records.faceSizeFactor(0, 1), -1.0f);
}

TEST_F(NodeRecordsFixture, FaceQueriesByInstanceAndNode)
{
    addInstance(gc, &material, 9);
    records.update(gc);
    EXPECT_TRUE(records.facesShareVertex(0, 0, 1));
    EXPECT_FALSE(records.facesShareVertex(0, 0, 5));
    EXPECT_FALSE(records.facesShareVertex(3, 0, 1));
    EXPECT_TRUE(records.nodeFacesShareVertex(9, 0, 1));
    EXPECT_FALSE(records.nodeFacesShareVertex(8, 0, 1));
    Point3 corners[3];
    ASSERT_TRUE(records.nodeFaceCameraVertices(9, 1, corners));
    EXPECT_EQ(corners[1], (Point3{4, 0, -5}));
    EXPECT_FALSE(records.nodeFaceCameraVertices(9, 2, corners));
    records.endFrame();
    EXPECT_FALSE(records.facesShareVertex(0, 0, 1));
    EXPECT_EQ(records.instanceOfNode(9), -1);
}

class StrokeSeedTest : public NodeRecordsFixture {
protected:
    void SetUp() override
    {
        NodeRecordsFixture::SetUp();
        vml::fillRandomTables();
    }
    std::uint16_t seed(vml::StrokeCell cell, int interval = 0, int node = -1, float frame = 0.5f,
                       bool editor = false)
    {
        return vml::strokeSeed(cell, interval, node, frame, editor, records);
    }
};

TEST_F(StrokeSeedTest, StepsEveryIntervalFromFrameZeroOrFromStillness)
{
    const vml::StrokeCell cell{5, 7};
    EXPECT_EQ(seed(cell, 3, -1, 0.5f), seed(cell, 3, -1, 2.5f));
    EXPECT_NE(seed(cell, 3, -1, 2.5f), seed(cell, 3, -1, 3.5f));
    EXPECT_EQ(seed(cell, 3, -1, 3.5f), seed(cell, 3, -1, 5.5f));
    EXPECT_EQ(seed(cell, 0, -1, 3.5f), seed(cell));  // no interval: never steps
    EXPECT_EQ(seed(cell, 3, -1, 3.5f, true), seed(cell));
    // A node still for 3 frames counts its steps from there.
    addInstance(gc, &material, 2);
    for (int frame = 0; frame < 4; ++frame)
        records.update(gc);
    ASSERT_EQ(records.stillCountOfNode(2), 3u);
    EXPECT_EQ(seed(cell, 3, 2, 3.5f), seed(cell));
    EXPECT_EQ(seed(cell, 3, 2, 6.5f), seed(cell, 3, -1, 3.5f));
}

}  // namespace
