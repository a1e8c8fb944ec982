// The painterly material's five rollouts and the brush editor on the in-memory dialog layer.

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/PrivateProfile.h"
#include "material/MaterialPresetFile.h"
#include "material/MaterialPresets.h"
#include "material/PaintDlgProc.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"
#include "plugin/EntryPoints.h"
#include "shell/SettingsLocations.h"
#include "shell/StringLookup.h"
#include "standalone/HostClasses.h"
#include "standalone/StandaloneCore.h"
#include "standalone/ui/MemoryDialogs.h"
#include "support/PluginClasses.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace test_support;

namespace {

using namespace vml;
using standalone::MemoryDialogs;

// The settings directory is fixed at its first use in a process, so every test of the process
// shares this one, kept out of the build's own settings.
TempDir& settingsDir()
{
    static TempDir dir;
    return dir;
}

class MaterialRollouts : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setDir(APP_PLUGCFG_DIR, settingsDir().dir());
        core.setDir(APP_MACHINE_DATA_DIR, settingsDir().dir());
        SetCOREInterface(&core);
        core.setQuietMode(true);
        core.setMessageStream(nullptr);
        standalone::registerHostClasses(core);
        test_support::loadPluginClasses(core);
        SetDialogService(&ui);
        material.reset(dynamic_cast<vmlMaterial*>(LibClassDesc(0)->Create(FALSE)));
        ASSERT_NE(material, nullptr);
        dialog.reset(material->CreateParamDlg(nullptr, nullptr));
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(ui.pages().size(), 5u);
    }
    void TearDown() override
    {
        dialog.reset();
        material.reset();
        SetDialogService(nullptr);
        SetCOREInterface(nullptr);
    }

    // Page 0 base, 1 brush, 2 stroke, 3 paint, 4 version.
    HWND page(int i) { return ui.pages()[std::size_t(i)]; }
    MemoryDialogs::Control& at(int pageIndex, int id)
    {
        return *const_cast<MemoryDialogs::Page*>(ui.page(page(pageIndex)))->find(id);
    }
    bool cachesValid() { return material->ivalid().InInterval(core.GetTime()); }
    void update()
    {
        Interval valid = FOREVER;
        material->Update(core.GetTime(), valid);
    }
    vmlBrush& brush() { return *dynamic_cast<vmlBrush*>(material->brushMap()); }

    standalone::StandaloneCore core;
    MemoryDialogs ui;
    std::unique_ptr<vmlMaterial> material;
    std::unique_ptr<ParamDlg> dialog;
};

TEST_F(MaterialRollouts, BlendListsTakeOnlyANewEntry)
{
    for (auto [pageIndex, id] : {std::pair{0, 1018}, {0, 1022}, {3, 1026}}) {
        SCOPED_TRACE(id);
        const std::vector<std::string>& items = at(pageIndex, id).items;
        ASSERT_EQ(items.size(), 16u);
        // Entries 6 and 7 are the two lights in the table's order, not the string table's.
        EXPECT_EQ(items[6], getString(57));
        EXPECT_EQ(items[7], getString(56));
    }
    ASSERT_TRUE(ui.userSelect(page(0), 1018, 7));
    ASSERT_TRUE(ui.userSelect(page(0), 1022, 2));
    ASSERT_TRUE(ui.userSelect(page(3), 1026, 12));
    EXPECT_EQ(material->baseBlock()->GetInt(baseParam::hiBlend), 7);
    EXPECT_EQ(material->baseBlock()->GetInt(baseParam::baseMatBlend), 2);
    EXPECT_EQ(material->paintBlock()->GetInt(paintParam::paintBlendMethod), 12);

    update();
    ASSERT_TRUE(cachesValid());
    ASSERT_TRUE(ui.userSelect(page(0), 1018, 7));
    ASSERT_TRUE(ui.userSelect(page(3), 1026, 12));
    EXPECT_TRUE(cachesValid()) << "the same entry again sends no change";
}

TEST_F(MaterialRollouts, RadiosSetTheCacheAtOnceAndHsvRelabelsTheAmounts)
{
    update();
    ASSERT_TRUE(ui.userClick(page(2), 1051));
    EXPECT_EQ(material->strokeCache().strokeRake, 2);
    EXPECT_EQ(material->strokeBlock()->GetInt(strokeParam::strokeRake), 2);
    EXPECT_FALSE(at(2, 1015).checked);
    EXPECT_TRUE(at(2, 1051).checked);

    ASSERT_TRUE(ui.userClick(page(3), 1048));
    EXPECT_EQ(material->paintCache().paintColorType, 0);
    EXPECT_EQ(ui.GetText(page(3), 1056) + ui.GetText(page(3), 1057) + ui.GetText(page(3), 1058), "RGB");
    const Bitmap* rgbPreview = at(3, 1041).image.get();
    ASSERT_TRUE(ui.userClick(page(3), 1049));
    EXPECT_EQ(material->paintCache().paintColorType, 1);
    EXPECT_EQ(material->paintBlock()->GetInt(paintParam::paintColorType), 1);
    EXPECT_EQ(ui.GetText(page(3), 1056) + ui.GetText(page(3), 1057) + ui.GetText(page(3), 1058), "HSV");
    EXPECT_TRUE(at(3, 1049).checked);
    EXPECT_NE(at(3, 1041).image.get(), rgbPreview) << "the preview follows the colour type";
}

TEST_F(MaterialRollouts, SetAsDefaultStoresAnAnimatedValueAtTheCurrentTime)
{
    IParamBlock2& paint = *material->paintBlock();
    paint.SetKey(paintParam::paintBlur, 0, 5.0f);
    paint.SetKey(paintParam::paintBlur, 160, 40.0f);
    core.setTime(160);
    ASSERT_TRUE(ui.userClick(page(3), 1084));
    EXPECT_EQ(materialPresets().paint.paintBlur, 40.0f);
    const std::string file = settingsFilePath(materialPresetFileName);
    ASSERT_EQ(file.rfind(settingsDir().dir(), 0), 0u) << "the preset file stays in the test's folder";
    char text[64];
    getPrivateProfileString(paintPresetSection, "paint_blur", "", text, sizeof text, file.c_str());
    EXPECT_STREQ(text, "40.000000");

    material->strokeBlock()->SetValue(strokeParam::strokeSpace, 0, 12.5f);
    ASSERT_TRUE(ui.userClick(page(2), 1084));
    getPrivateProfileString(strokePresetSection, "stroke_space", "", text, sizeof text, file.c_str());
    EXPECT_STREQ(text, "12.500000");
}

TEST_F(MaterialRollouts, MapMarkersAndMapButtonsFollowTheSlots)
{
    EXPECT_EQ(ui.GetText(page(0), 1038), "");
    auto* level = dynamic_cast<Texmap*>(core.CreateInstance(TEXMAP_CLASS_ID, vmlBrushClassId));
    ASSERT_NE(level, nullptr);
    level->SetName("levels");
    material->SetSubTexmap(vmlMaterial::hiLevelMapSlot, level);
    EXPECT_EQ(ui.GetText(page(0), 1038), "M");
    EXPECT_EQ(ui.GetText(page(0), 1039), "");
    material->SetSubTexmap(vmlMaterial::hiLevelMapSlot, nullptr);
    EXPECT_EQ(ui.GetText(page(0), 1038), "");
    level->DeleteThis();
}

TEST_F(MaterialRollouts, BrushPreviewsIgnoreWhatDoesNotShapeTheTip)
{
    // The material's brush rollout follows its brush at the material's update.
    const std::shared_ptr<Bitmap> before = at(1, 1013).image;
    ASSERT_NE(before, nullptr);
    IParamBlock2& tip = *brush().GetParamBlock(0);
    tip.SetValue(brushMapParam::brushMapStretchRnd, 0, 40.0f);
    update();
    EXPECT_EQ(at(1, 1013).image, before);
    tip.SetValue(brushMapParam::brushMapSize, 0, 12.0f);
    update();
    EXPECT_NE(at(1, 1013).image, before);

    // The editor: a page of its own, redrawn on tip changes only.
    std::unique_ptr<ParamDlg> editor(brush().CreateParamDlg(nullptr, nullptr));
    ASSERT_NE(editor, nullptr);
    HWND page = ui.pages().back();
    ASSERT_EQ(ui.page(page)->dialogId, 113);
    auto image = [&] { return const_cast<MemoryDialogs::Page*>(ui.page(page))->find(1013)->image; };
    const std::shared_ptr<Bitmap> drawn = image();
    ASSERT_NE(drawn, nullptr);
    ASSERT_TRUE(ui.userSetValue(page, 1502, 50.0f));  // map opacity
    ASSERT_TRUE(ui.userSetValue(page, 1512, 70.0f));  // stretch spread
    ASSERT_TRUE(ui.userSetValue(page, 1516, 10.0f));  // angle spread
    ASSERT_TRUE(ui.userClick(page, 1540));            // cache switch
    ASSERT_TRUE(ui.userSetValue(page, 1542, 2.0f));   // variant count
    EXPECT_EQ(image(), drawn);
    EXPECT_EQ(tip.GetFloat(brushMapParam::brushMapMapOpacity), 50.0f);

    const int type = tip.GetInt(brushMapParam::brushMapType);
    ASSERT_TRUE(ui.userSelect(page, 1070, type));
    EXPECT_EQ(image(), drawn) << "the selected type again changes nothing";
    ASSERT_TRUE(ui.userSelect(page, 1070, 1 - type));
    EXPECT_EQ(tip.GetInt(brushMapParam::brushMapType), 1 - type);
    const std::shared_ptr<Bitmap> retyped = image();
    ASSERT_NE(retyped, drawn);
    ASSERT_TRUE(ui.userSetValue(page, 1514, 45.0f));  // the angle turns the tip
    EXPECT_EQ(tip.GetFloat(brushMapParam::brushMapAngle), 45.0f);
    EXPECT_NE(image(), retyped);

    editor.reset();
    EXPECT_EQ(brush().editor(), nullptr);
}

}  // namespace
