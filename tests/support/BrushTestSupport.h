#pragma once
// What the brush map tests share: a fixture with the random tables filled and the painting flag
// off, block setters, and a grey map for the sub-map slot.

#include "host/IParamBlock2.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"
#include "shell/RandomTables.h"
#include "support/ToneMap.h"

#include <gtest/gtest.h>

namespace test_support {

class BrushFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        vml::fillRandomTables();
        vml::vmlBrush::setStrokePainting(false);
    }
    void TearDown() override { vml::vmlBrush::setStrokePainting(false); }

    static void set(vml::vmlBrush& b, ParamID id, float v) { b.GetParamBlock(0)->SetValue(id, 0, v); }
    static void set(vml::vmlBrush& b, ParamID id, int v) { b.GetParamBlock(0)->SetValue(id, 0, v); }
    static void update(vml::vmlBrush& b, TimeValue t = 0)
    {
        Interval valid = FOREVER;
        b.Update(t, valid);
    }
    // One tip without bristles or groove, so values follow from falloff and stretch alone.
    static void makePlain(vml::vmlBrush& b)
    {
        set(b, vml::brushMapParam::brushMapType, 0);
        set(b, vml::brushMapParam::brushMapGroove, 0.0f);
    }
};

}  // namespace test_support
