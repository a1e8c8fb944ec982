// The material's parameter blocks against the design's tables, row by row.

#include "MaterialTestSupport.h"

#include "host/ParamBlockDesc2.h"
#include "host/Rollout.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

using namespace vml;

namespace {

struct Row {
    int block;
    int id;
    const char* name;
    ParamType2 type;
    double def[3];  // x, or r, g, b
    bool hasRange;
    double min, max;
    int label;
    const char* labelText;
    bool animatable;
    int ownerRef;  // the material's reference holding the value, -1 for a value of the block
};

// Transcribed from the design's tables, in the order each block declares its parameters.
const Row rows[] = {
    {0, 0, "baseMaterial", TYPE_MTL, {0, 0, 0}, false, 0, 0, 110, "BASEMAT", false, 5},
    {0, 1, "shading", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 111, "SHADING", true, -1},
    {0, 2, "hiColor", TYPE_RGBA, {1, 1, 1}, false, 0, 0, 112, "HIGH COLOR", true, -1},
    {0, 3, "hiBlend", TYPE_INT, {0, 0, 0}, true, 0, 15, 113, "HIGH BLEND", false, -1},
    {0, 4, "hiLevel", TYPE_INT, {0, 0, 0}, true, 0, 999, 105, "HIGH LEVEL", true, -1},
    {0, 5, "hiGross", TYPE_INT, {10, 0, 0}, true, 0, 100, 106, "HIGH GROSS", true, -1},
    {0, 6, "hiMapOpacity", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 107, "HI MAP OPACITY", true, -1},
    {0, 7, "hiMapEnable", TYPE_BOOL, {1, 0, 0}, false, 0, 0, 108, "HI MAP ENABLE", true, -1},
    {0, 8, "hiMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 109, "HI MAP", false, 7},
    {0, 9, "hiAniso", TYPE_INT, {0, 0, 0}, true, 0, 100, 119, "HI ANISO", true, -1},
    {0, 10, "hiOrient", TYPE_INT, {0, 0, 0}, true, -36000, 36000, 120, "HI ORIENT", true, -1},
    {0, 11, "hiLevelMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 121, "HI LEVEL MAP", false, 8},
    {0, 12, "hiGrossMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 122, "HI GROSS MAP", false, 9},
    {0, 13, "bumpEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 115, "BUMP ENABLE", true, -1},
    {0, 14, "bumpAmount", TYPE_INT, {30, 0, 0}, true, -999, 999, 116, "BUMP AMOUNT", true, -1},
    {0, 15, "bumpMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 117, "BUMP MAP", false, 10},
    {0, 16, "reflecEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 118, "REFLEC ENABLE", true, -1},
    {0, 17, "reflecAmount", TYPE_INT, {100, 0, 0}, true, 0, 100, 127, "REFLEC AMOUNT", true, -1},
    {0, 18, "reflecMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 128, "REFLEC MAP", false, 11},
    {0,
     19,
     "baseMatColorEnable",
     TYPE_BOOL,
     {0, 0, 0},
     false,
     0,
     0,
     129,
     "BASE MATERIAL COLOR ENABLE",
     true,
     -1},
    {0, 20, "baseMatColor", TYPE_RGBA, {0, 0, 0}, false, 0, 0, 130, "BASE MATERIAL COLOR", true, -1},
    {0,
     21,
     "baseMatMapOpacity",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     131,
     "BASE MATERIAL MAP OPACITY",
     true,
     -1},
    {0, 23, "baseMatMapEnable", TYPE_BOOL, {1, 0, 0}, false, 0, 0, 135, "BASE MATERIAL MAP ENABLE", true, -1},
    {0, 22, "baseMatMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 132, "BASE MATERIAL MAP", false, 6},
    {0, 24, "baseMatBlend", TYPE_INT, {0, 0, 0}, true, 0, 15, 133, "BASE MATERIAL BLEND", false, -1},
    {0, 25, "baseMatAlpha", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 134, "BASE MATERIAL ALPHA", true, -1},
    {0, 26, "baseHiddenFace", TYPE_BOOL, {1, 0, 0}, false, 0, 0, 136, "BASE HIDDEN FACE REMOVAL", true, -1},
    {0, 27, "baseRndAuto", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 137, "BASE RND AUTO", true, -1},
    {0, 28, "baseRndInterval", TYPE_INT, {1, 0, 0}, true, 1, 999, 123, "BASE RND INTERVAL", true, -1},
    {0, 29, "baseRndMoveDetect", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 124, "BASE RND MOVE DETECT", true, -1},
    {0, 30, "hiSharp", TYPE_INT, {0, 0, 0}, true, 0, 100, 114, "HI SHARP", true, -1},
    {0, 31, "brushOfsEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 143, "BRUSH OFS ENABLE", true, -1},
    {0, 32, "brushOfs", TYPE_FLOAT, {0, 0, 0}, true, -1000000, 1000000, 141, "BRUSH OFS", true, -1},
    {0, 33, "brushOfsRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 1000000, 142, "BRUSH OFS RND", true, -1},
    {0, 34, "brushNoSideDrop", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 144, "BRUSH NO SIDE DROP", true, -1},
    {1, 0, "brushMap", TYPE_TEXMAP, {0, 0, 0}, false, 0, 0, 217, "BRUSH EDITOR", false, 12},
    {1, 1, "brushOpacity", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 209, "BRUSH OPACITY", true, -1},
    {1, 2, "brushSize", TYPE_FLOAT, {10, 0, 0}, true, 0.1, 100, 200, "BRUSH SIZE", true, -1},
    {1, 3, "brushSizeRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 201, "BRUSH SIZE RND", true, -1},
    {1, 4, "brushSizeGeom", TYPE_FLOAT, {0, 0, 0}, true, -100, 100, 208, "BRUSH SIZE GEOMETRY", true, -1},
    {1, 5, "brushAngle", TYPE_FLOAT, {0, 0, 0}, true, -3600, 3600, 202, "BRUSH ANGLE", true, -1},
    {1, 6, "brushAngleRnd", TYPE_FLOAT, {360, 0, 0}, true, 0, 360, 203, "BRUSH SIZE RND", true, -1},
    {1, 7, "brushAngleFit", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 218, "BRUSH ANGLE FIT", true, -1},
    {1,
     8,
     "brushAngleFitOfs",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     -3600,
     3600,
     219,
     "BRUSH ANGLE FIT OFFSET",
     true,
     -1},
    {1, 9, "brushDensity", TYPE_FLOAT, {26, 0, 0}, true, 0.01, 100, 204, "BRUSH DENSITY", true, -1},
    {1, 10, "brushRough", TYPE_FLOAT, {1, 0, 0}, true, 0, 100, 205, "BRUSH ROUGH", true, -1},
    {1, 11, "brushGeometry", TYPE_FLOAT, {0, 0, 0}, true, -100, 100, 216, "BRUSH ROUGH GEOMETRY", true, -1},
    {1, 12, "brushFine", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 206, "BRUSH FINE", true, -1},
    {1, 13, "brushFineRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 207, "BRUSH FINE RND", true, -1},
    {1, 14, "brushFadeSize", TYPE_FLOAT, {0, 0, 0}, true, 0, 200, 210, "BRUSH FADE SIZE", true, -1},
    {1,
     15,
     "brushFadeSizeThre",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     211,
     "BRUSH FADE SIZE THRESHOLD",
     true,
     -1},
    {1, 16, "brushFadeSizeRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 212, "BRUSH FADE SIZE RND", true, -1},
    {1, 17, "brushFadeAlpha", TYPE_FLOAT, {0, 0, 0}, true, 0, 200, 213, "BRUSH FADE ALPHA", true, -1},
    {1,
     18,
     "brushFadeAlphaThre",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     214,
     "BRUSH FADE ALPHA THRESHOLD",
     true,
     -1},
    {1, 19, "brushFadeAlphaRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 215, "BRUSH FADE ALPHA RND", true, -1},
    {1,
     20,
     "brushFadeSizeLinear",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     220,
     "BRUSH FADE SIZE LINEAR",
     true,
     -1},
    {1,
     21,
     "brushFadeAlphaLinear",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     221,
     "BRUSH FADE ALPHA LINEAR",
     true,
     -1},
    {1, 22, "brushZScaleEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 222, "BRUSH SCALE ENABLE", true, -1},
    {1,
     23,
     "brushZScaleStart",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     1,
     1000000,
     223,
     "BRUSH SCALE START",
     true,
     -1},
    {1, 24, "brushZScaleEnd", TYPE_FLOAT, {100, 0, 0}, true, 1, 1000000, 224, "BRUSH SCALE END", true, -1},
    {1, 25, "brushOfsScrX", TYPE_FLOAT, {0, 0, 0}, true, -1000, 1000, 225, "BRUSH OFFSET SCREEN X", true, -1},
    {1,
     26,
     "brushOfsScrXRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     1000,
     226,
     "BRUSH OFFSET SCREEN X RND",
     true,
     -1},
    {1, 27, "brushOfsScrY", TYPE_FLOAT, {0, 0, 0}, true, -1000, 1000, 227, "BRUSH OFFSET SCREEN Y", true, -1},
    {1,
     28,
     "brushOfsScrYRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     1000,
     228,
     "BRUSH OFFSET SCREEN Y RND",
     true,
     -1},
    {1, 29, "brushOfsNorm", TYPE_FLOAT, {0, 0, 0}, true, -100, 100, 229, "BRUSH OFFSET NORMAL", true, -1},
    {1, 30, "brushOfsNormRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 230, "BRUSH OFFSET NORMAL RND", true, -1},
    {2, 0, "strokeLength", TYPE_FLOAT, {0, 0, 0}, true, 0, 1000, 310, "STROKE LENGTH", true, -1},
    {2, 1, "strokeLengthRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 311, "STROKE LENGTH RND", true, -1},
    {2, 2, "strokeLengthGeom", TYPE_FLOAT, {0, 0, 0}, true, -100, 100, 306, "STROKE LENGTH GEOM", true, -1},
    {2, 3, "strokeAngle", TYPE_FLOAT, {0, 0, 0}, true, -3600, 3600, 317, "STROKE ANGLE", true, -1},
    {2, 4, "strokeAngleRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 360, 318, "STROKE ANGLE RND", true, -1},
    {2, 5, "strokeAngleFit", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 304, "STROKE ANGLE FIT", true, -1},
    {2,
     6,
     "strokeAngleFitOfs",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     -3600,
     3600,
     305,
     "STROKE ANGLE FIT OFS",
     true,
     -1},
    {2, 7, "strokeOffset", TYPE_FLOAT, {50, 0, 0}, true, 0, 100, 307, "STROKE OFFSET", true, -1},
    {2, 8, "strokeOffsetRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 308, "STROKE OFFSET RND", true, -1},
    {2, 9, "strokeDeformAmp", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 309, "STROKE DEFORM AMP", true, -1},
    {2,
     10,
     "strokeDeformAmpRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     312,
     "STROKE DEFORM AMP RND",
     true,
     -1},
    {2, 11, "strokeDeformFreq", TYPE_FLOAT, {1, 0, 0}, true, 0, 5, 313, "STROKE DEFORM FREQ", true, -1},
    {2,
     12,
     "strokeDeformFreqRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     314,
     "STROKE DEFORM FREQ RND",
     true,
     -1},
    {2, 13, "strokeDeformPhase", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 315, "STROKE DEFORM PHASE", true, -1},
    {2,
     14,
     "strokeDeformPhaseRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     316,
     "STROKE DEFORM PHASE RND",
     true,
     -1},
    {2, 15, "strokeRough", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 319, "STROKE ROUGH", true, -1},
    {2, 16, "strokeRoughRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 320, "STROKE ROUGH RND", true, -1},
    {2, 17, "strokeRake", TYPE_INT, {0, 0, 0}, true, 0, 2, 321, "STROKE RAKE", false, -1},
    {2,
     18,
     "strokeDampSizeSt",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     322,
     "STROKE DAMP SIZE START",
     true,
     -1},
    {2,
     19,
     "strokeDampSizeStPos",
     TYPE_FLOAT,
     {50, 0, 0},
     true,
     0,
     100,
     323,
     "STROKE DAMP SIZE START POS",
     true,
     -1},
    {2, 20, "strokeDampSizeEd", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 328, "STROKE DAMP SIZE END", true, -1},
    {2,
     21,
     "strokeDampSizeEdPos",
     TYPE_FLOAT,
     {50, 0, 0},
     true,
     0,
     100,
     329,
     "STROKE DAMP SIZE END POS",
     true,
     -1},
    {2, 22, "strokeDampSizeRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 324, "STROKE DAMP SIZE RND", true, -1},
    {2,
     23,
     "strokeDampAlphaSt",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     325,
     "STROKE DAMP ALPHA START",
     true,
     -1},
    {2,
     24,
     "strokeDampAlphaStPos",
     TYPE_FLOAT,
     {50, 0, 0},
     true,
     0,
     100,
     326,
     "STROKE DAMP ALPHA START POS",
     true,
     -1},
    {2,
     25,
     "strokeDampAlphaEd",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     330,
     "STROKE DAMP ALPHA END",
     true,
     -1},
    {2,
     26,
     "strokeDampAlphaEdPos",
     TYPE_FLOAT,
     {50, 0, 0},
     true,
     0,
     100,
     331,
     "STROKE DAMP ALPHA END POS",
     true,
     -1},
    {2,
     27,
     "strokeDampAlphaRnd",
     TYPE_FLOAT,
     {0, 0, 0},
     true,
     0,
     100,
     327,
     "STROKE DAMP ALPHA RND",
     true,
     -1},
    {2, 28, "strokeSpace", TYPE_FLOAT, {0, 0, 0}, true, 0, 1000, 332, "STROKE SPACE", true, -1},
    {2, 29, "strokeSpaceRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 333, "STROKE SPACE RND", true, -1},
    {3, 0, "paintBlendEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 400, "PAINT BLEND ENABLE", true, -1},
    {3, 1, "paintBlendMethod", TYPE_INT, {0, 0, 0}, true, 0, 15, 401, "PAINT BLEND METHOD", false, -1},
    {3, 2, "paintBlendAmount", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 402, "PAINT BLEND ENABLE", true, -1},
    {3, 16, "paintMonoEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 416, "PAINT MONO ENABLE", true, -1},
    {3, 17, "paintMonoAmount", TYPE_FLOAT, {100, 0, 0}, true, 0, 100, 417, "PAINT MONO AMOUNT", true, -1},
    {3, 3, "paintColorType", TYPE_INT, {1, 0, 0}, true, 0, 1, 406, "PAINT COLOR TYPE", false, -1},
    {3, 4, "paintColorR", TYPE_FLOAT, {6, 0, 0}, true, 0, 100, 403, "PAINT COLOR R", true, -1},
    {3, 5, "paintColorG", TYPE_FLOAT, {6, 0, 0}, true, 0, 100, 404, "PAINT COLOR G", true, -1},
    {3, 6, "paintColorB", TYPE_FLOAT, {6, 0, 0}, true, 0, 100, 405, "PAINT COLOR B", true, -1},
    {3, 7, "paintBlur", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 407, "PAINT BLUR", true, -1},
    {3, 8, "paintBlurRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 408, "PAINT BLUR RND", true, -1},
    {3, 9, "paintBlurBound", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 409, "PAINT BLUR BOUND", true, -1},
    {3, 10, "paintBlurBoundRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 410, "PAINT BLUR BOUND RND", true, -1},
    {3, 11, "paintMix", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 411, "PAINT MIX", true, -1},
    {3, 12, "paintMixRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 412, "PAINT MIX RND", true, -1},
    {3, 13, "paintWind", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 413, "PAINT WIND", true, -1},
    {3, 14, "paintWindRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 414, "PAINT WIND RND", true, -1},
    {3, 15, "paintWindAngle", TYPE_FLOAT, {90, 0, 0}, true, -3600, 3600, 415, "PAINT WIND ANGLE", true, -1},
    {3, 20, "paintDry", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 420, "PAINT DRY", true, -1},
    {3, 21, "paintDryRnd", TYPE_FLOAT, {0, 0, 0}, true, 0, 100, 421, "PAINT DRY RND", true, -1},
    {3,
     22,
     "paintWhiteTransEnable",
     TYPE_BOOL,
     {0, 0, 0},
     false,
     0,
     0,
     422,
     "PAINT WHITE TRANS ENABLE",
     true,
     -1},
    {3,
     23,
     "paintWhiteTransAmount",
     TYPE_FLOAT,
     {100, 0, 0},
     true,
     0,
     100,
     423,
     "PAINT WHITE TRANS AMOUNT",
     true,
     -1},
    {3, 24, "paintConEnable", TYPE_BOOL, {0, 0, 0}, false, 0, 0, 424, "PAINT CON ENABLE", true, -1},
    {3, 25, "paintConAmount", TYPE_FLOAT, {100, 0, 0}, true, -100, 100, 425, "PAINT CON AMOUNT", true, -1},
};

ParamBlockDesc2& descOf(int block)
{
    ParamBlockDesc2& (*const descs[])() = {vmlMaterialBaseBlock, vmlMaterialBrushBlock,
                                           vmlMaterialStrokeBlock, vmlMaterialPaintBlock,
                                           vmlMaterialVersionBlock};
    return descs[block]();
}

class MaterialParamBlocks : public materialtest::MaterialFixture {};

TEST_F(MaterialParamBlocks, EveryRowMatchesTheDescriptor)
{
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("block ") + std::to_string(r.block) + " parameter " + r.name);
        const ParamBlockDesc2& desc = descOf(r.block);
        const ParamDef* def = desc.GetParamDef(static_cast<ParamID>(r.id));
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->name, r.name);
        EXPECT_EQ(def->type, r.type);
        EXPECT_EQ(def->labelId, r.label);
        const char* text = getString(r.label);
        EXPECT_STREQ(text ? text : "(missing)", r.labelText);
        EXPECT_EQ(def->animatable(), r.animatable);
        EXPECT_EQ(def->hasRange, r.hasRange);
        if (r.hasRange) {
            EXPECT_FLOAT_EQ(float(def->rangeMin), float(r.min));
            EXPECT_FLOAT_EQ(float(def->rangeMax), float(r.max));
        }
        if (isReferenceType(r.type)) {
            EXPECT_TRUE(def->ownersRef());
            EXPECT_EQ(def->ownerRefNo, r.ownerRef);
        } else {
            EXPECT_FALSE(def->ownersRef());
            const int channels = r.type == TYPE_RGBA ? 3 : 1;
            for (int c = 0; c < channels; ++c)
                EXPECT_FLOAT_EQ(float(def->defNumber[c]), float(r.def[c])) << "channel " << c;
        }
    }
}

TEST_F(MaterialParamBlocks, BlocksDeclareExactlyTheRowsInTableOrder)
{
    for (int block = 0; block < 4; ++block) {
        std::vector<int> expected;
        for (const Row& r : rows)
            if (r.block == block)
                expected.push_back(r.id);
        const ParamBlockDesc2& desc = descOf(block);
        std::vector<int> declared;
        for (int i = 0; i < desc.Count(); ++i)
            declared.push_back(desc.IndextoID(i));
        EXPECT_EQ(declared, expected) << "block " << block;
    }
    EXPECT_EQ(descOf(4).Count(), 0) << "the version block has no parameters";
    // Paint ids 18 and 19 are not used.
    EXPECT_EQ(descOf(3).GetParamDef(18), nullptr);
    EXPECT_EQ(descOf(3).GetParamDef(19), nullptr);
}

TEST_F(MaterialParamBlocks, BlockIdentityRolloutsAndSoundness)
{
    struct BlockRow {
        int id;
        const char* name;
        int dialog, title;
        bool closed;
    };
    const BlockRow blocks[] = {{0, "parameters", 109, 100, false},
                               {1, "brush", 103, 102, false},
                               {2, "stroke", 110, 103, false},
                               {3, "paint", 111, 104, false},
                               {4, "version", 104, 101, true}};
    for (const BlockRow& b : blocks) {
        const ParamBlockDesc2& desc = descOf(b.id);
        SCOPED_TRACE(b.name);
        EXPECT_EQ(desc.ID(), b.id);
        EXPECT_EQ(desc.InternalName(), b.name);
        EXPECT_EQ(desc.RefNo(), b.id) << "each block is the reference of its id";
        EXPECT_TRUE(desc.HasFlag(P_AUTO_CONSTRUCT));
        EXPECT_TRUE(desc.HasFlag(P_AUTO_UI));
        EXPECT_EQ(desc.RolloutDialogId(), b.dialog);
        EXPECT_EQ(desc.RolloutTitleId(), b.title);
        EXPECT_EQ((desc.RolloutFlags() & APPENDROLL_CLOSED) != 0, b.closed);
        EXPECT_EQ(desc.Validate(), std::vector<std::string>{});
        EXPECT_EQ(desc.GetClassDesc(), LibClassDesc(0)) << "attached to the material's class";
    }
}

TEST_F(MaterialParamBlocks, MapParametersReadAndWriteTheMaterialsReferences)
{
    auto m = make();
    materialtest::ToneMap bump(0.3f);
    Mtl* base = m->baseMaterial();
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(m->baseBlock()->GetReferenceTarget(baseParam::baseMaterial), base);
    ASSERT_TRUE(m->baseBlock()->SetValue(baseParam::bumpMap, 0, static_cast<ReferenceTarget*>(&bump)));
    EXPECT_EQ(m->GetReference(vmlMaterial::firstMapRef + vmlMaterial::bumpMapSlot), &bump);
    EXPECT_EQ(m->bumpMap(), &bump);
    materialtest::StandInBrush standIn(0.6f);
    ASSERT_TRUE(m->brushBlock()->SetValue(brushParam::brushMap, 0, static_cast<ReferenceTarget*>(&standIn)));
    EXPECT_EQ(m->GetReference(vmlMaterial::brushMapRef), &standIn);
    EXPECT_EQ(m->brushBlock()->GetReferenceTarget(brushParam::brushMap), &standIn);
}

}  // namespace
