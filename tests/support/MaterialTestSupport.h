#pragma once
// The standalone host set up for vmlMaterial tests: the host's classes, the plug-in's classes and
// a stand-in for the brush texture class (the real one arrives with the brush map), registered
// first so that the material's fresh brush is one of them.

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "material/vmlMaterial.h"
#include "plugin/EntryPoints.h"
#include "renderer/vmlRenderer.h"
#include "standalone/HostClasses.h"
#include "standalone/StandaloneCore.h"
#include "support/ParamByName.h"
#include "support/PluginClasses.h"
#include "support/ToneMap.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace test_support {

// Reports the brush texture's class id: what the brush slot accepts.
class StandInBrush final : public ToneMap {
public:
    using ToneMap::ToneMap;
    Class_ID ClassID() override { return vml::vmlBrushClassId; }
    ReferenceTarget* Clone() override { return new StandInBrush(tone); }
};

// A map of any other class.
class ForeignMap final : public ToneMap {
public:
    using ToneMap::ToneMap;
    Class_ID ClassID() override { return Class_ID(0x12345678, 0x9); }
    ReferenceTarget* Clone() override { return new ForeignMap(tone); }
};

class StandInBrushClassDesc final : public ClassDesc2 {
public:
    int IsPublic() override { return 0; }
    ReferenceTarget* Create(BOOL) override { return new StandInBrush(0.25f); }
    const char* ClassName() override { return "stand-in brush"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return vml::vmlBrushClassId; }
};

class MaterialFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCOREInterface(&core);
        core.setQuietMode(true);
        core.setMessageStream(nullptr);
        static StandInBrushClassDesc brushDesc;
        core.registerClass(&brushDesc, "standInBrush");
        standalone::registerHostClasses(core);
        loadPluginClasses(core);
    }
    void TearDown() override
    {
        vml::currentRenderer = nullptr;
        SetCOREInterface(nullptr);
    }

    // A material made as the host makes one.
    std::unique_ptr<vml::vmlMaterial> make(bool loading = false)
    {
        ReferenceTarget* made = LibClassDesc(0)->Create(loading ? TRUE : FALSE);
        auto* material = dynamic_cast<vml::vmlMaterial*>(made);
        EXPECT_NE(material, nullptr);
        return std::unique_ptr<vml::vmlMaterial>(material);
    }

    static void update(vml::vmlMaterial& m, TimeValue t = 0)
    {
        Interval valid = FOREVER;
        m.Update(t, valid);
    }

    standalone::StandaloneCore core;
};

}  // namespace test_support
