// The painterly material's five pages (base 109, brush 103, stroke 110, paint 111, version 104)
// and the brush map's editor (113).

#include "resources/DialogTemplateBuilder.h"
#include "resources/StringIds.h"

namespace vml::resources {

namespace {

namespace text = strings::materialPages;
namespace editor = strings::brushEditorPage;

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
    p.map(1100, text::baseMaterial)
        .spin(text::shading, 1102)
        .heading(text::highlight)
        .swatch(1103, text::color)
        .combo(1018, text::blend)
        .spin(text::level, 1105)
        .map(1038, text::level)
        .spin(text::glossiness, 1107)
        .map(1039, text::glossiness)
        .spin(text::sharpness, 1138)
        .spin(text::anisotropy, 1113)
        .spin(text::orientation, 1115)
        .check(1110, text::map)
        .map(1111, text::map)
        .spin(text::opacity, 1109)
        .heading(text::bump)
        .check(1116, text::enable)
        .spin(text::amount, 1118)
        .map(1119, text::map)
        .heading(text::reflection)
        .check(1120, text::enable)
        .spin(text::amount, 1122)
        .map(1123, text::map)
        .heading(text::baseColor)
        .check(1124, text::useColor)
        .swatch(1125, text::color)
        .combo(1022, text::blend)
        .spin(text::alpha, 1131)
        .check(1128, text::map)
        .map(1129, text::map)
        .spin(text::opacity, 1127)
        .check(1132, text::removeHiddenFaces)
        .check(1133, text::renewRandomness)
        .spin(text::interval, 1135)
        .check(1136, text::onlyWhenMoving)
        .heading(text::brushOffset)
        .check(1139, text::enable)
        .spin(text::amount, 1141)
        .spin(text::random, 1143)
        .check(1144, text::keepOffTheSides);
    return p.done();
}

// Brush block parameter p (1 to 30) has the spinner 1200 + 2p (edit field one less).
constexpr int brushSpin(int p) { return 1200 + 2 * p; }

DialogTemplate brushPage()
{
    PageRows p(103);
    p.map(1200, text::brushMap)
        .image(1013, 40)
        .spin(text::opacity, brushSpin(1))
        .spin(text::size, brushSpin(2))
        .spin(text::random, brushSpin(3));
    p.spin(text::byGeometry, brushSpin(4))
        .spin(text::angle, brushSpin(5))
        .spin(text::random, brushSpin(6))
        .spin(text::followSurface, brushSpin(7));
    p.spin(text::offset, brushSpin(8))
        .spin(text::density, brushSpin(9))
        .spin(text::roughness, brushSpin(10))
        .spin(text::byGeometry, brushSpin(11));
    p.spin(text::detail, brushSpin(12)).spin(text::random, brushSpin(13));
    p.heading(text::fadeSize)
        .spin(text::amount, brushSpin(14))
        .spin(text::threshold, brushSpin(15))
        .spin(text::random, brushSpin(16));
    p.spin(text::linearity, brushSpin(20));
    p.heading(text::fadeAlpha)
        .spin(text::amount, brushSpin(17))
        .spin(text::threshold, brushSpin(18))
        .spin(text::random, brushSpin(19));
    p.spin(text::linearity, brushSpin(21));
    p.check(brushSpin(22) - 1, text::scaleByDepth)
        .spin(text::start, brushSpin(23))
        .spin(text::end, brushSpin(24));
    p.spin(text::screenOffsetX, brushSpin(25))
        .spin(text::random, brushSpin(26))
        .spin(text::screenOffsetY, brushSpin(27))
        .spin(text::random, brushSpin(28));
    p.spin(text::normalOffset, brushSpin(29)).spin(text::random, brushSpin(30));
    p.button(1084, text::setAsDefault);
    return p.done();
}

// Stroke block parameter p (0 to 29) has the spinner 1302 + 2p.
constexpr int strokeSpin(int p) { return 1302 + 2 * p; }

DialogTemplate strokePage()
{
    PageRows p(110);
    p.spin(text::length, strokeSpin(0))
        .spin(text::random, strokeSpin(1))
        .spin(text::byGeometry, strokeSpin(2));
    p.spin(text::angle, strokeSpin(3))
        .spin(text::random, strokeSpin(4))
        .spin(text::followSurface, strokeSpin(5))
        .spin(text::offset, strokeSpin(6));
    p.spin(text::offset, strokeSpin(7)).spin(text::random, strokeSpin(8));
    p.heading(text::deformation)
        .spin(text::amplitude, strokeSpin(9))
        .spin(text::random, strokeSpin(10))
        .spin(text::frequency, strokeSpin(11));
    p.spin(text::random, strokeSpin(12)).spin(text::phase, strokeSpin(13)).spin(text::random, strokeSpin(14));
    p.spin(text::roughness, strokeSpin(15)).spin(text::random, strokeSpin(16));
    p.heading(text::strokeMode).radio(1015, text::normal).radio(1016, text::rake).radio(1051, text::random);
    p.heading(text::sizeDamping)
        .spin(text::start, strokeSpin(18))
        .spin(text::position, strokeSpin(19))
        .spin(text::end, strokeSpin(20));
    p.spin(text::position, strokeSpin(21)).spin(text::random, strokeSpin(22));
    p.heading(text::alphaDamping)
        .spin(text::start, strokeSpin(23))
        .spin(text::position, strokeSpin(24))
        .spin(text::end, strokeSpin(25));
    p.spin(text::position, strokeSpin(26)).spin(text::random, strokeSpin(27));
    p.spin(text::spacing, strokeSpin(28)).spin(text::random, strokeSpin(29));
    p.button(1084, text::setAsDefault);
    return p.done();
}

// Paint block parameter p has the spinner (or check box) 1402 + 2p.
constexpr int paintSpin(int p) { return 1402 + 2 * p; }

DialogTemplate paintPage()
{
    PageRows p(111);
    p.combo(1026, text::blend).spin(text::amount, paintSpin(2));
    p.check(paintSpin(16), text::monochrome).spin(text::amount, paintSpin(17));
    p.heading(text::colorVariation).radio(1048, text::rgb).radio(1049, text::hsv);
    // The three amounts' labels name the channels of the colour type (R G B or H S V).
    for (int k = 0; k < 3; ++k) {
        const char* rgb[] = {"R", "G", "B"};
        p.add(control(1056 + k, ControlKind::staticText, 0, 6, p.y(), 54, 8, 0, rgb[k]));
        p.add(spinner(paintSpin(4 + k) - 1, paintSpin(4 + k), 62, p.y(), 40)).row();
    }
    p.image(1041, 24);
    p.spin(text::blur, paintSpin(7))
        .spin(text::random, paintSpin(8))
        .spin(text::edgeBlur, paintSpin(9))
        .spin(text::random, paintSpin(10));
    p.spin(text::mix, paintSpin(11)).spin(text::random, paintSpin(12));
    p.spin(text::wind, paintSpin(13)).spin(text::random, paintSpin(14)).spin(text::angle, paintSpin(15));
    p.spin(text::dryness, paintSpin(20)).spin(text::random, paintSpin(21));
    p.check(paintSpin(22), text::whiteShowsThrough).spin(text::amount, paintSpin(23));
    p.check(paintSpin(24), text::contrast).spin(text::amount, paintSpin(25));
    p.button(1084, text::setAsDefault);
    return p.done();
}

// Brush map parameter p has the spinner (or check box) 1502 + 2p.
constexpr int brushMapSpin(int p) { return 1502 + 2 * p; }

DialogTemplate brushEditorPage()
{
    PageRows p(113);
    p.image(1013, 60);
    p.spin(editor::mapOpacity, brushMapSpin(0))
        .check(brushMapSpin(1), text::enable)
        .map(brushMapSpin(2), editor::map);
    p.add(label(editor::brushType, 6, p.y(), 54))
        .add(control(1070, ControlKind::comboBox, 0, 62, p.y(), 40, 40))
        .row();
    p.spin(editor::stretch, brushMapSpin(4))
        .spin(editor::randomPercent, brushMapSpin(5))
        .spin(editor::angle, brushMapSpin(6));
    p.spin(editor::random, brushMapSpin(7))
        .spin(editor::grooves, brushMapSpin(8))
        .spin(editor::count, brushMapSpin(9));
    p.spin(editor::size, brushMapSpin(10))
        .spin(editor::randomPercent, brushMapSpin(11))
        .spin(editor::softness, brushMapSpin(12));
    p.spin(editor::horizontalSpacing, brushMapSpin(13))
        .spin(editor::randomPercent, brushMapSpin(14))
        .spin(editor::verticalSpacing, brushMapSpin(15));
    p.spin(editor::randomPercent, brushMapSpin(16));
    p.heading(editor::falloff).spin(editor::start, brushMapSpin(17)).spin(editor::end, brushMapSpin(18));
    p.heading(editor::cache)
        .check(brushMapSpin(19), editor::disableCache)
        .spin(editor::randomVariants, brushMapSpin(20));
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
