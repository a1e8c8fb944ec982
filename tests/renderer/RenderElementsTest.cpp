#include "plugin/EntryPoints.h"
#include "renderer/CrayonStrokeRenderElement.h"
#include "renderer/LineFxRenderElement.h"
#include "renderer/RenderElementParamBlocks.h"
#include "renderer/VmlRenderElementMgr.h"
#include "shell/StringLookup.h"

#include "host/Bitmap.h"
#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "standalone/RenderElementManager.h"
#include "standalone/StandaloneCore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr const char* lineName = "Vermil+ ﾗｲﾝ";
constexpr const char* crayonName = "Crayon+ ｽﾄﾛｰｸ";

class RenderElements : public ::testing::Test {
protected:
    void SetUp() override { vml::libraryEntry(&module_); }

private:
    int module_ = 0;
};

TEST_F(RenderElements, SaveNamesTheEffectAfterTheElementAndRoundTrips)
{
    vml::CrayonStrokeRenderElement e;
    e.SetElementName("Pen");
    e.SetEnabled(FALSE);
    EXPECT_EQ(e.GetName(), crayonName);  // renaming alone leaves the effect name

    // As the host saves an element: its own data, then its block as reference 0.
    ChunkWriter w;
    w.BeginChunk(1);
    EXPECT_EQ(e.Save(&w), IO_OK);
    w.EndChunk();
    w.BeginChunk(2);
    EXPECT_EQ(e.pblock()->Save(&w), IO_OK);
    w.EndChunk();
    ASSERT_EQ(w.Status(), IO_OK);
    EXPECT_EQ(e.GetName(), "Pen");

    vml::CrayonStrokeRenderElement loaded;
    ChunkReader r(w.Bytes());
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(loaded.Load(&r), IO_OK);
    r.CloseChunk();
    ASSERT_EQ(r.OpenChunk(), IO_OK);
    EXPECT_EQ(loaded.pblock()->Load(&r), IO_OK);
    r.CloseChunk();
    EXPECT_STREQ(loaded.ElementName(), "Pen");
    EXPECT_FALSE(loaded.IsEnabled());
    EXPECT_TRUE(loaded.IsFilterEnabled());
}

TEST_F(RenderElements, CloneKeepsClassAndValuesButNotTheHolder)
{
    vml::CrayonStrokeRenderElement crayon;
    crayon.SetElementName("Strokes");
    crayon.SetFilterEnabled(FALSE);
    crayon.createBitmapHolder();
    std::unique_ptr<ReferenceTarget> copy(crayon.Clone());
    auto* c = dynamic_cast<vml::CrayonStrokeRenderElement*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassID(), vml::crayonStrokeRenderElementClassId);
    EXPECT_STREQ(c->ElementName(), "Strokes");
    EXPECT_FALSE(c->IsFilterEnabled());
    EXPECT_EQ(c->GetPBBitmap(), nullptr);
    EXPECT_NE(c->pblock(), crayon.pblock());
    c->SetElementName("Other");
    EXPECT_STREQ(crayon.ElementName(), "Strokes");

    vml::LineFxRenderElement line;
    line.SetEnabled(FALSE);
    std::unique_ptr<ReferenceTarget> lineCopy(line.Clone());
    auto* l = dynamic_cast<vml::LineFxRenderElement*>(lineCopy.get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(dynamic_cast<vml::CrayonStrokeRenderElement*>(l), nullptr);
    EXPECT_EQ(l->ClassID(), vml::lineFxRenderElementClassId);
    EXPECT_FALSE(l->IsEnabled());
}

TEST_F(RenderElements, ManagerListsTheExtraElementFirst)
{
    vml::LineFxRenderElement a, b, added;
    vml::CrayonStrokeRenderElement stroke;
    standalone::RenderElementManager host;
    host.AddRenderElement(&a);
    host.AddRenderElement(&b);

    vml::VmlRenderElementMgr mgr(&host, nullptr);  // pen strokes off: the user's list
    EXPECT_EQ(mgr.NumRenderElements(), 2);
    EXPECT_EQ(mgr.GetRenderElement(0), &a);
    EXPECT_EQ(mgr.GetRenderElement(1), &b);

    mgr.extra = &stroke;
    EXPECT_EQ(mgr.NumRenderElements(), 3);
    EXPECT_EQ(mgr.GetRenderElement(0), &stroke);
    EXPECT_EQ(mgr.GetRenderElement(1), &a);
    EXPECT_EQ(mgr.GetRenderElement(2), &b);
    EXPECT_EQ(mgr.GetRenderElement(3), nullptr);
    EXPECT_EQ(host.NumRenderElements(), 2);  // the user's list is untouched

    EXPECT_TRUE(mgr.AddRenderElement(&added));
    EXPECT_EQ(host.GetRenderElement(2), &added);
    EXPECT_FALSE(mgr.RemoveRenderElement(&stroke));
    EXPECT_TRUE(mgr.RemoveRenderElement(&a));
    EXPECT_EQ(mgr.NumRenderElements(), 3);
    mgr.SetElementsActive(FALSE);
    mgr.SetDisplayElements(FALSE);
    EXPECT_FALSE(host.GetElementsActive());
    EXPECT_FALSE(host.GetDisplayElements());
    host.SetElementsActive(TRUE);
    EXPECT_TRUE(mgr.GetElementsActive());
    mgr.RemoveAllRenderElements();
    EXPECT_EQ(host.NumRenderElements(), 0);
    EXPECT_EQ(mgr.NumRenderElements(), 1);

    // Without a host manager only the extra element is there and nothing is forwarded.
    vml::VmlRenderElementMgr bare;
    EXPECT_EQ(bare.NumRenderElements(), 0);
    bare.extra = &stroke;
    EXPECT_EQ(bare.NumRenderElements(), 1);
    EXPECT_EQ(bare.GetRenderElement(1), nullptr);
    EXPECT_FALSE(bare.AddRenderElement(&added));
    EXPECT_FALSE(bare.RemoveRenderElement(&stroke));
    EXPECT_FALSE(bare.GetDisplayElements());
}

}  // namespace
