// Scene persistence of the line effect. A scene holds the effect's own data (the
// element count and the base data) and, as references, its four blocks and its elements, which
// the host restores after the effect's load.

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace vml;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(ReferenceMaker& m)
{
    ChunkWriter w;
    EXPECT_EQ(m.Save(&w), IO_OK);
    EXPECT_EQ(w.Status(), IO_OK);
    return w.Bytes();
}

std::unique_ptr<IParamBlock2> loadBlock(ParamBlockDesc2& desc, const Bytes& bytes)
{
    auto block = std::make_unique<IParamBlock2>(&desc);
    ChunkReader r(bytes);
    EXPECT_EQ(block->Load(&r), IO_OK);
    return block;
}

// One element as the scene holds it, and its restoration as a new object.
struct SavedElement {
    explicit SavedElement(LineFxElement& e)
        : own(bytesOf(e)), line(bytesOf(*e.pblock())), paint(bytesOf(*e.paintBlock()))
    {}
    std::unique_ptr<LineFxElement> restore() const
    {
        auto e = std::make_unique<LineFxElement>();
        ChunkReader r(own);
        EXPECT_EQ(e->Load(&r), IO_OK);
        e->ReplaceReference(LineFxElement::pblockRef, e->adopt(loadBlock(lineFxElementParamsBlock(), line)));
        e->ReplaceReference(LineFxElement::paintBlockRef,
                            e->adopt(loadBlock(lineFxElementPaintBlock(), paint)));
        return e;
    }
    Bytes own, line, paint;
};

std::string nameOf(LineFxElement* e) { return e->pblock()->GetStr(lineParam::lineName); }

class LineManagerPersistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        original.pblock()->SetValue(lineFxParam::lineOutRenderElement, 0, 1);
        original.addElement(NormalAngle)->pblock()->SetValue(lineParam::lineWidth, 0, 2.5f);
        LineFxElement* edge = original.addElement(EdgeBoundary);
        edge->pblock()->SetValue(lineParam::lineName, 0, "creases");
        edge->pblock()->SetValue(lineParam::normal, 0, 1);
        original.addElement(Outline)->paintBlock()->SetValue(linePaintParam::paintDry, 0, 40.0f);
    }

    LineFxManager original;
};

TEST_F(LineManagerPersistence, ThreeElementsSurviveAReloadInOrder)
{
    const Bytes own = bytesOf(original);
    const Bytes params = bytesOf(*original.pblock());
    std::vector<SavedElement> saved;
    for (int i = 0; i < original.elementCount(); ++i)
        saved.emplace_back(*original.element(i));

    LineFxManager loaded;
    loaded.addElement(BasicSet);  // whatever was there before the load goes
    ChunkReader r(own);
    ASSERT_EQ(loaded.Load(&r), IO_OK);
    ASSERT_EQ(loaded.elementCount(), 3);
    EXPECT_EQ(loaded.NumRefs(), 7);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded.element(i), nullptr);

    loaded.ReplaceReference(LineFxManager::paramsRef,
                            loaded.adopt(loadBlock(lineFxManagerParamsBlock(), params)));
    for (int i = 0; i < 3; ++i)
        loaded.ReplaceReference(LineFxManager::firstElementRef + i, loaded.adopt(saved[i].restore()));

    EXPECT_EQ(loaded.pblock()->GetInt(lineFxParam::lineOutRenderElement), 1);
    const int types[] = {NormalAngle, EdgeBoundary, Outline};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        LineFxElement* e = loaded.element(i);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->type(), types[i]);
        EXPECT_EQ(e->manager(), &loaded);
        EXPECT_TRUE(e->loadedFromScene());
        EXPECT_EQ(nameOf(e), nameOf(original.element(i)));
    }
    EXPECT_EQ(loaded.element(0)->pblock()->GetFloat(lineParam::lineWidth), 2.5f);
    EXPECT_EQ(nameOf(loaded.element(1)), "creases");
    EXPECT_EQ(loaded.element(1)->pblock()->GetInt(lineParam::normal), 1);
    EXPECT_EQ(loaded.element(2)->paintBlock()->GetFloat(linePaintParam::paintDry), 40.0f);
    EXPECT_EQ(loaded.GBufferChannelsRequired(0), original.GBufferChannelsRequired(0));
}

TEST_F(LineManagerPersistence, LoadRefusesADamagedCountAndSkipsUnknownChunks)
{
    for (std::int32_t count : {-1, LineFxManager::maxLoadedElements + 1}) {
        ChunkWriter w;
        w.BeginChunk(LineFxManager::countChunk);
        writeValue(&w, count);
        w.EndChunk();
        LineFxManager m;
        ChunkReader r(w.Bytes());
        EXPECT_EQ(m.Load(&r), IO_ERROR) << count;
        EXPECT_EQ(m.elementCount(), 0);
    }
    ChunkWriter w;
    w.BeginChunk(0x7777);
    writeValue(&w, std::int32_t{99});
    w.EndChunk();
    w.BeginChunk(LineFxManager::countChunk);
    writeValue(&w, std::int32_t{2});
    w.EndChunk();
    LineFxManager tolerant;
    ChunkReader again(w.Bytes());
    EXPECT_EQ(tolerant.Load(&again), IO_OK);
    EXPECT_EQ(tolerant.elementCount(), 2);
}

}  // namespace
