#include "support/DocumentTestClasses.h"

#include "host/ClassDesc2.h"
#include "host/Interface.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace test_support {

namespace {

// Holds its block in reference 0 and exposes it.
template <class Base> class WithBlock : public Base {
public:
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int i) override { return i == 0 ? block_ : nullptr; }
    void SetReference(int i, ReferenceTarget* t) override
    {
        if (i == 0)
            block_ = static_cast<IParamBlock2*>(t);
    }
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? block_ : nullptr; }

protected:
    IParamBlock2* block_ = nullptr;
};

class TestMtl : public WithBlock<Mtl> {
public:
    void Update(TimeValue, Interval&) override {}
    void Shade(ShadeContext&) override {}
};

// A material with one sub-material slot, as a wrapping material has.
class TestWrapper : public TestMtl {
public:
    Class_ID ClassID() override { return Class_ID(0xD0C, 7); }
    int NumSubMtls() override { return 1; }
    Mtl* GetSubMtl(int i) override { return i == 0 ? base_ : nullptr; }
    void SetSubMtl(int i, Mtl* m) override
    {
        if (i == 0)
            base_ = m;
    }

private:
    Mtl* base_ = nullptr;
};

// Its LoadMapFiles fails, through a message box, when "file" names a missing file.
class TestMap : public WithBlock<Texmap> {
public:
    void Update(TimeValue, Interval&) override {}
    AColor EvalColor(ShadeContext&) override { return {}; }
    bool LoadMapFiles(TimeValue t) override
    {
        const char* name = block_->GetStr(map_file, t);
        const std::string file = name ? name : "";
        if (file.empty() || std::filesystem::exists(file))
            return true;
        MessageBox(nullptr, ("cannot open " + file).c_str(), "TestMap", MB_OK);
        return false;
    }
};

class TestEffect : public WithBlock<Effect> {
public:
    void Apply(TimeValue, Bitmap*, RenderGlobalContext*, CheckAbortCallback*) override {}
};

class TestElement : public WithBlock<IRenderElement> {
public:
    void SetEnabled(BOOL on) override { enabled_ = on; }
    BOOL IsEnabled() const override { return enabled_; }
    void SetFilterEnabled(BOOL) override {}
    BOOL IsFilterEnabled() const override { return FALSE; }
    BOOL BlendOnMultipass() const override { return FALSE; }
    void SetElementName(const char* name) override { name_ = name; }
    const char* ElementName() const override { return name_.c_str(); }
    void SetPBBitmap(PBBitmap*) override {}
    PBBitmap* GetPBBitmap() override { return nullptr; }

private:
    BOOL enabled_ = TRUE;
    std::string name_ = "Test Element";
};

class TestRenderer : public WithBlock<Renderer> {
public:
    int Open(INode*, INode*, ViewParams*, RendParams&, HWND, RendProgressCallback*) override { return 1; }
    int Render(TimeValue, Bitmap*, FrameRendParams&, HWND, RendProgressCallback*, ViewParams*) override
    {
        return 1;
    }
    void Close(HWND, RendProgressCallback*) override {}
};

template <class T> class TestDesc : public ClassDesc2 {
public:
    TestDesc(const char* name, SClass_ID super, Class_ID id) : name_(name), super_(super), id_(id) {}
    int IsPublic() override { return 1; }
    ReferenceTarget* Create(BOOL) override
    {
        auto* object = new T;
        MakeAutoParamBlocks(object);
        return object;
    }
    const char* ClassName() override { return name_; }
    SClass_ID SuperClassID() override { return super_; }
    Class_ID ClassID() override { return id_; }

private:
    const char* name_;
    SClass_ID super_;
    Class_ID id_;
};

class BrokenDesc : public TestDesc<TestMtl> {
public:
    BrokenDesc() : TestDesc("Broken", MATERIAL_CLASS_ID, Class_ID(0xD0C, 9)) {}
    ReferenceTarget* Create(BOOL) override { return nullptr; }
};

TestDesc<TestMtl> mtlDesc("TestMtl", MATERIAL_CLASS_ID, Class_ID(0xD0C, 1));
TestDesc<TestWrapper> wrapperDesc("TestWrapper", MATERIAL_CLASS_ID, Class_ID(0xD0C, 7));
TestDesc<TestMap> mapDesc("TestMap", TEXMAP_CLASS_ID, Class_ID(0xD0C, 2));
TestDesc<TestEffect> effectDesc("TestEffect", RENDER_EFFECT_CLASS_ID, Class_ID(0xD0C, 3));
TestDesc<TestElement> elementDesc("TestElement", RENDER_ELEMENT_CLASS_ID, Class_ID(0xD0C, 4));
TestDesc<TestRenderer> rendererDesc("TestRenderer", RENDERER_CLASS_ID, Class_ID(0xD0C, 5));
TestDesc<TestMap> impostorDesc("Impostor", MATERIAL_CLASS_ID, Class_ID(0xD0C, 6));
BrokenDesc brokenDesc;

ParamBlockDesc2& mtlBlock()
{
    static ParamBlockDesc2 block = [] {
        ParamBlockDesc2 b(0, "testMtl", 0, P_AUTO_CONSTRUCT, 0);
        b.addColor(mtl_diffuse, "diffuse", Color(0.5f, 0.5f, 0.5f), 0, P_ANIMATABLE)
            .addFloat(mtl_glossiness, "glossiness", 0.25f, 0.0f, 1.0f, 0, P_ANIMATABLE)
            .addInt(mtl_layers, "layers", 1, 1, 8, 0)
            .addBool(mtl_twoSided, "twoSided", false, 0)
            .addAColor(mtl_tint, "tint", AColor(1, 1, 1, 1), 0)
            .addPoint3(mtl_offset, "offset", Point3(), 0)
            .addString(mtl_label, "label", "", 0)
            .addFilename(mtl_texture, "texture", "", 0)
            .addRef(mtl_diffuseMap, "diffuseMap", TYPE_TEXMAP, 0)
            .addRef(mtl_coat, "coat", TYPE_MTL, 0)
            .addRef(mtl_focus, "focus", TYPE_INODE, 0)
            .addTable(mtl_weights, "weights", TYPE_FLOAT_TAB, 0, 0)
            .addTable(mtl_maps, "maps", TYPE_TEXMAP_TAB, 0, 0)
            .addAngle(mtl_angle, "angle", 0.0f, -360.0f, 360.0f, 0);
        return b;
    }();
    return block;
}

ParamBlockDesc2& mapBlock()
{
    static ParamBlockDesc2 block = [] {
        ParamBlockDesc2 b(0, "testMap", 0, P_AUTO_CONSTRUCT, 0);
        b.addColor(map_color, "color", Color(1, 1, 1), 0)
            .addFloat(map_scale, "scale", 1.0f, 0.01f, 100.0f, 0, P_ANIMATABLE)
            .addRef(map_source, "source", TYPE_TEXMAP, 0)
            .addFilename(map_file, "file", "", 0);
        return b;
    }();
    return block;
}

ParamBlockDesc2& effectBlock()
{
    static ParamBlockDesc2 block = [] {
        ParamBlockDesc2 b(0, "testEffect", 0, P_AUTO_CONSTRUCT, 0);
        b.addFloat(0, "strength", 1.0f, 0.0f, 10.0f, 0);
        return b;
    }();
    return block;
}

ParamBlockDesc2& rendererBlock()
{
    static ParamBlockDesc2 block = [] {
        ParamBlockDesc2 b(0, "testRenderer", 0, P_AUTO_CONSTRUCT, 0);
        b.addInt(0, "quality", 3, 1, 10, 0).addString(1, "style", "oil", 0);
        return b;
    }();
    return block;
}

}  // namespace

void registerTestClasses(standalone::StandaloneCore& core)
{
    static const bool attached = [] {
        mtlBlock().SetClassDesc(&mtlDesc);
        mtlBlock().SetClassDesc(&wrapperDesc);
        mapBlock().SetClassDesc(&mapDesc);
        mapBlock().SetClassDesc(&impostorDesc);
        effectBlock().SetClassDesc(&effectDesc);
        effectBlock().SetClassDesc(&elementDesc);
        rendererBlock().SetClassDesc(&rendererDesc);
        return true;
    }();
    (void)attached;
    core.registerClass(&mtlDesc, "TestMtl");
    core.registerClass(&mapDesc, "TestMap");
    core.registerClass(&effectDesc, "TestEffect");
    core.registerClass(&elementDesc, "TestElement");
    core.registerClass(&rendererDesc, "TestRenderer");
    core.registerClass(&impostorDesc, "Impostor");
    core.registerClass(&brokenDesc, "Broken");
    core.registerClass(&wrapperDesc, "TestWrapper");
}

IParamBlock2* blockOf(ReferenceTarget* object) { return object ? object->GetParamBlock(0) : nullptr; }

void writePng(const std::filesystem::path& file, int w, int h, const std::vector<unsigned char>& rgb)
{
    std::filesystem::create_directories(file.parent_path());
    auto out = OIIO::ImageOutput::create(file.string());
    ASSERT_TRUE(out && out->open(file.string(), OIIO::ImageSpec(w, h, 3, OIIO::TypeDesc::UINT8)));
    ASSERT_TRUE(out->write_image(OIIO::TypeDesc::UINT8, rgb.data()));
    out->close();
}

}  // namespace test_support
