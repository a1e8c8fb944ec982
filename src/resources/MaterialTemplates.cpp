// The painterly material's five pages (base 109, brush 103, stroke 110, paint 111, version 104)
// and the brush map's editor (113).

#include "resources/DialogTemplateBuilder.h"

namespace vml::resources {

namespace {

// Lays a page out top to bottom: one row per control, labels at the left, values at the right.
class PageRows {
public:
    explicit PageRows(int id) { page_.id = id, page_.width = 108; }

    // A spinner with its label; edit = spin - 1.
    PageRows& spin(int textId, int spinId)
    {
        add(label(textId, 6, y_, 54));
        add(spinner(spinId - 1, spinId, 62, y_, 40));
        return next();
    }
    PageRows& check(int id, int textId)
    {
        add(resources::check(id, textId, 6, y_, 96));
        return next();
    }
    // A map or material button with its label.
    PageRows& map(int id, int textId)
    {
        add(label(textId, 6, y_, 54));
        add(control(id, ControlKind::mapButton, 0, 62, y_, 40, 10, 0, "None"));
        return next();
    }
    PageRows& combo(int id, int textId)
    {
        add(label(textId, 6, y_, 54));
        add(control(id, ControlKind::comboBox, 0, 62, y_, 40, 60));
        return next();
    }
    PageRows& swatch(int id, int textId)
    {
        add(label(textId, 6, y_, 54));
        add(control(id, ControlKind::colorSwatch, 0, 62, y_, 40, 10));
        return next();
    }
    // A heading over the rows that follow.
    PageRows& heading(int textId)
    {
        add(control(0, ControlKind::group, textId, 2, y_, 104, 10));
        return next();
    }
    PageRows& radio(int id, int textId)
    {
        add(control(id, ControlKind::radioButton, textId, 6, y_, 96, 10));
        return next();
    }
    PageRows& button(int id, int textId)
    {
        add(control(id, ControlKind::button, textId, 6, y_, 96, 12));
        return next();
    }
    PageRows& image(int id, int height)
    {
        add(control(id, ControlKind::image, 0, 4, y_, 100, height));
        y_ += height - 12;
        return next();
    }
    PageRows& add(const DialogControl& c)
    {
        page_.controls.push_back(c);
        return *this;
    }
    int y() const { return y_; }
    // Ends a row put together with add.
    PageRows& row() { return next(); }

    DialogTemplate done()
    {
        page_.height = y_ + 4;
        return page_;
    }

private:
    PageRows& next()
    {
        y_ += 12;
        return *this;
    }
    DialogTemplate page_;
    int y_ = 4;
};

DialogTemplate basePage()
{
    PageRows p(109);
    p.map(1100, 3000)
        .spin(3001, 1102)
        .heading(3002)
        .swatch(1103, 3003)
        .combo(1018, 3004)
        .spin(3005, 1105)
        .map(1038, 3005)
        .spin(3006, 1107)
        .map(1039, 3006)
        .spin(3007, 1138)
        .spin(3008, 1113)
        .spin(3009, 1115)
        .check(1110, 3010)
        .map(1111, 3010)
        .spin(3011, 1109)
        .heading(3012)
        .check(1116, 3025)
        .spin(3013, 1118)
        .map(1119, 3010)
        .heading(3014)
        .check(1120, 3025)
        .spin(3013, 1122)
        .map(1123, 3010)
        .heading(3015)
        .check(1124, 3016)
        .swatch(1125, 3003)
        .combo(1022, 3004)
        .spin(3017, 1131)
        .check(1128, 3010)
        .map(1129, 3010)
        .spin(3011, 1127)
        .check(1132, 3018)
        .check(1133, 3019)
        .spin(3020, 1135)
        .check(1136, 3021)
        .heading(3022)
        .check(1139, 3025)
        .spin(3013, 1141)
        .spin(3023, 1143)
        .check(1144, 3024);
    return p.done();
}

// Brush block parameter p (1 to 30) has the spinner 1200 + 2p (edit field one less).
constexpr int brushSpin(int p) { return 1200 + 2 * p; }

DialogTemplate brushPage()
{
    PageRows p(103);
    p.map(1200, 3100)
        .image(1013, 40)
        .spin(3011, brushSpin(1))
        .spin(3101, brushSpin(2))
        .spin(3023, brushSpin(3));
    p.spin(3102, brushSpin(4)).spin(3103, brushSpin(5)).spin(3023, brushSpin(6)).spin(3104, brushSpin(7));
    p.spin(3105, brushSpin(8)).spin(3106, brushSpin(9)).spin(3107, brushSpin(10)).spin(3102, brushSpin(11));
    p.spin(3108, brushSpin(12)).spin(3023, brushSpin(13));
    p.heading(3109).spin(3013, brushSpin(14)).spin(3110, brushSpin(15)).spin(3023, brushSpin(16));
    p.spin(3111, brushSpin(20));
    p.heading(3112).spin(3013, brushSpin(17)).spin(3110, brushSpin(18)).spin(3023, brushSpin(19));
    p.spin(3111, brushSpin(21));
    p.check(brushSpin(22) - 1, 3113).spin(3114, brushSpin(23)).spin(3115, brushSpin(24));
    p.spin(3116, brushSpin(25)).spin(3023, brushSpin(26)).spin(3117, brushSpin(27)).spin(3023, brushSpin(28));
    p.spin(3118, brushSpin(29)).spin(3023, brushSpin(30));
    p.button(1084, 3119);
    return p.done();
}

// Stroke block parameter p (0 to 29) has the spinner 1302 + 2p.
constexpr int strokeSpin(int p) { return 1302 + 2 * p; }

DialogTemplate strokePage()
{
    PageRows p(110);
    p.spin(3200, strokeSpin(0)).spin(3023, strokeSpin(1)).spin(3102, strokeSpin(2));
    p.spin(3103, strokeSpin(3)).spin(3023, strokeSpin(4)).spin(3104, strokeSpin(5)).spin(3105, strokeSpin(6));
    p.spin(3105, strokeSpin(7)).spin(3023, strokeSpin(8));
    p.heading(3201).spin(3202, strokeSpin(9)).spin(3023, strokeSpin(10)).spin(3203, strokeSpin(11));
    p.spin(3023, strokeSpin(12)).spin(3204, strokeSpin(13)).spin(3023, strokeSpin(14));
    p.spin(3107, strokeSpin(15)).spin(3023, strokeSpin(16));
    p.heading(3205).radio(1015, 3206).radio(1016, 3207).radio(1051, 3023);
    p.heading(3208).spin(3114, strokeSpin(18)).spin(3210, strokeSpin(19)).spin(3115, strokeSpin(20));
    p.spin(3210, strokeSpin(21)).spin(3023, strokeSpin(22));
    p.heading(3209).spin(3114, strokeSpin(23)).spin(3210, strokeSpin(24)).spin(3115, strokeSpin(25));
    p.spin(3210, strokeSpin(26)).spin(3023, strokeSpin(27));
    p.spin(3211, strokeSpin(28)).spin(3023, strokeSpin(29));
    p.button(1084, 3119);
    return p.done();
}

// Paint block parameter p has the spinner (or check box) 1402 + 2p.
constexpr int paintSpin(int p) { return 1402 + 2 * p; }

DialogTemplate paintPage()
{
    PageRows p(111);
    p.combo(1026, 3004).spin(3013, paintSpin(2));
    p.check(paintSpin(16), 3300).spin(3013, paintSpin(17));
    p.heading(3301).radio(1048, 3302).radio(1049, 3303);
    // The three amounts' labels name the channels of the colour type (R G B or H S V).
    for (int k = 0; k < 3; ++k) {
        const char* rgb[] = {"R", "G", "B"};
        p.add(control(1056 + k, ControlKind::staticText, 0, 6, p.y(), 54, 8, 0, rgb[k]));
        p.add(spinner(paintSpin(4 + k) - 1, paintSpin(4 + k), 62, p.y(), 40)).row();
    }
    p.image(1041, 24);
    p.spin(3304, paintSpin(7)).spin(3023, paintSpin(8)).spin(3305, paintSpin(9)).spin(3023, paintSpin(10));
    p.spin(3306, paintSpin(11)).spin(3023, paintSpin(12));
    p.spin(3307, paintSpin(13)).spin(3023, paintSpin(14)).spin(3103, paintSpin(15));
    p.spin(3308, paintSpin(20)).spin(3023, paintSpin(21));
    p.check(paintSpin(22), 3309).spin(3013, paintSpin(23));
    p.check(paintSpin(24), 3310).spin(3013, paintSpin(25));
    p.button(1084, 3119);
    return p.done();
}

// Brush map parameter p has the spinner (or check box) 1502 + 2p.
constexpr int brushMapSpin(int p) { return 1502 + 2 * p; }

DialogTemplate brushEditorPage()
{
    PageRows p(113);
    p.image(1013, 60);
    p.spin(3500, brushMapSpin(0)).check(brushMapSpin(1), 3025).map(brushMapSpin(2), 3501);
    p.add(label(3502, 6, p.y(), 54)).add(control(1070, ControlKind::comboBox, 0, 62, p.y(), 40, 40)).row();
    p.spin(3503, brushMapSpin(4)).spin(3504, brushMapSpin(5)).spin(3505, brushMapSpin(6));
    p.spin(3506, brushMapSpin(7)).spin(3507, brushMapSpin(8)).spin(3508, brushMapSpin(9));
    p.spin(3509, brushMapSpin(10)).spin(3504, brushMapSpin(11)).spin(3510, brushMapSpin(12));
    p.spin(3511, brushMapSpin(13)).spin(3504, brushMapSpin(14)).spin(3512, brushMapSpin(15));
    p.spin(3504, brushMapSpin(16));
    p.heading(3513).spin(3514, brushMapSpin(17)).spin(3515, brushMapSpin(18));
    p.heading(3516).check(brushMapSpin(19), 3517).spin(3518, brushMapSpin(20));
    return p.done();
}

}  // namespace

void addMaterialTemplates(DialogTemplates& all)
{
    all[109] = basePage();
    all[103] = brushPage();
    all[110] = strokePage();
    all[111] = paintPage();
    all[104] = page(104, 20, {control(1003, ControlKind::staticText, 0, 4, 4, 100, 10)});
    all[113] = brushEditorPage();
}

}  // namespace vml::resources
