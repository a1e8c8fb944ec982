// The line effect's pages: the main rollout (114), the element rollouts by type (115 all
// sections, 119 outline, 117 boundaries, 118 normal angle), the two host rollouts (120), the
// load-method dialog (121), the version page (122) and the paint rollout (123).

#include "resources/DialogTemplateBuilder.h"
#include "resources/StringIds.h"

#include <cstddef>
#include <vector>

namespace vml::resources {

namespace {

namespace text = strings::linePages;

using Controls = std::vector<DialogControl>;

DialogControl button(int id, int textId, int x, int y, int w = 34)
{
    return control(id, ControlKind::button, textId, x, y, w, 10);
}

// A labelled spinner on one row.
void row(Controls& out, int textId, int edit, int spin, int y)
{
    out.push_back(label(textId, 10, y, 44));
    out.push_back(spinner(edit, spin, 60, y));
}

// Which detection sections an element page carries.
enum Sections : unsigned { outline = 1, boundary = 2, normalAngle = 4 };

Controls detection(unsigned sections, int& y)
{
    Controls c;
    c.push_back(group(text::detection, y, 0));
    y += 10;
    if (sections & outline) {
        c.push_back(check(1043, text::objectOutline, 6, y));
        row(c, text::offset, 1063, 1069, y += 12);
        c.push_back(check(1061, text::materialOutline, 6, y += 12));
        row(c, text::offset, 1070, 1076, y += 12);
        y += 12;
    }
    if (sections & boundary) {
        c.push_back(check(1045, text::materialIdBoundary, 6, y));
        c.push_back(check(1046, text::depthBoundary, 6, y += 12));
        row(c, text::threshold, 1056, 1058, y += 12);
        y += 12;
    }
    if (sections & normalAngle) {
        c.push_back(check(1062, text::normalAngle, 6, y));
        row(c, text::minAngle, 1059, 1035, y += 12);
        row(c, text::maxAngle, 1057, 1034, y += 12);
        row(c, text::normalDepth, 1060, 1036, y += 12);
        y += 12;
    }
    c.front().height = y - c.front().y;
    return c;
}

DialogTemplate elementPage(int id, unsigned sections)
{
    Controls c{control(1044, ControlKind::editText, 0, 30, 4, 56, 10), label(text::name, 4, 4, 24),
               check(1075, text::on, 88, 4, 18)};
    row(c, text::materialId, 1040, 1041, 16);
    int y = 30;
    for (DialogControl& d : detection(sections, y))
        c.push_back(d);
    const int line = y;
    const std::size_t lineGroup = c.size();
    c.push_back(group(text::line, line, 0));
    row(c, text::width, 1024, 1025, y = line + 10);
    row(c, text::deform, 1026, 1027, y += 12);
    row(c, text::stretch, 1028, 1029, y += 12);
    row(c, text::angle, 1030, 1031, y += 12);
    c.push_back(control(1042, ControlKind::image, 0, 6, y += 12, 96, 32));
    c.push_back(label(text::blend, 10, y += 36, 44));
    c.push_back(control(1048, ControlKind::comboBox, 0, 60, y, 44, 80));
    row(c, text::opacity, 1049, 1050, y += 12);
    c.push_back(label(text::color, 10, y += 12, 44));
    c.push_back(control(1051, ControlKind::colorSwatch, 0, 60, y, 36, 10));
    c.push_back(check(1054, text::map, 6, y += 12, 30));
    c.push_back(control(1055, ControlKind::mapButton, 0, 40, y, 64, 10, 0, "None"));
    row(c, text::mapOpacity, 1052, 1053, y += 12);
    c[lineGroup].height = y + 14 - line;

    const int depth = y += 16;
    const std::size_t depthGroup = c.size();
    c.push_back(group(text::depth, depth, 0));
    c.push_back(check(1064, text::scaleWidthByDepth, 6, y = depth + 10));
    row(c, text::near, 1071, 1072, y += 12);
    row(c, text::far, 1073, 1074, y += 12);
    c.push_back(check(1079, text::fadeByDepth, 6, y += 12));
    row(c, text::near, 1080, 1081, y += 12);
    row(c, text::far, 1082, 1083, y += 12);
    row(c, text::farOpacity, 1087, 1088, y += 12);
    row(c, text::motionBlur, 1065, 1066, y += 12);
    row(c, text::blurOffset, 1067, 1068, y += 12);
    c[depthGroup].height = y + 14 - depth;

    c.push_back(group(text::elementFile, y += 16, 28));
    c.push_back(button(1077, strings::elementOpen, 6, y += 12));
    c.push_back(button(1078, strings::elementSave, 42, y));
    c.push_back(button(1084, text::setAsDefault, 6, y += 18, 96));

    DialogTemplate t = page(id, y + 14, {});
    t.controls = std::move(c);
    return t;
}

}  // namespace

void addLineTemplates(DialogTemplates& all)
{
    all[114] =
        page(114, 150,
             {check(1063, strings::outputToRenderElementOnly, 6, 4, 96), label(text::lineTypes, 4, 18, 40),
              label(text::elements, 56, 18, 40), control(1033, ControlKind::listBox, 0, 4, 28, 40, 60),
              control(1035, ControlKind::button, text::add, 46, 40, 8, 10),
              control(1036, ControlKind::button, text::remove, 46, 54, 8, 10),
              control(1034, ControlKind::listBox, 0, 56, 28, 48, 60), button(1038, text::up, 56, 90, 15),
              button(1039, text::down, 73, 90, 15), button(1040, text::copy, 90, 90, 14),
              group(text::lineSetFile, 106, 28), button(1077, strings::linesOpen, 6, 118),
              button(1078, strings::linesSave, 42, 118)});
    all[115] = elementPage(115, outline | boundary | normalAngle);
    all[119] = elementPage(119, outline);
    all[117] = elementPage(117, boundary);
    all[118] = elementPage(118, normalAngle);
    // The host rollouts only hold the selected element's child page.
    all[120] = page(120, 1, {});
    all[121] = page(121, 44,
                    {group(text::loadMethod, 2, 24),
                     control(1085, ControlKind::radioButton, text::replace, 6, 12, 44, 10),
                     control(1086, ControlKind::radioButton, text::merge, 54, 12, 44, 10),
                     button(1, text::ok, 20, 30), button(2, text::cancel, 58, 30)});
    all[122] = page(122, 20, {control(1003, ControlKind::staticText, text::versionTitle, 4, 4, 100, 10)});

    Controls paint{group(text::colorRange, 2, 64),
                   control(1048, ControlKind::radioButton, text::rgb, 6, 12, 40, 10),
                   control(1049, ControlKind::radioButton, text::hsv, 50, 12, 40, 10)};
    const int rgbLabels[] = {1056, 1057, 1058};
    const int rgbSpinners[][2] = {{1050, 1051}, {1052, 1053}, {1054, 1055}};
    const char* rgbTexts[] = {"R", "G", "B"};
    for (int k = 0; k < 3; ++k) {
        paint.push_back(
            control(rgbLabels[k], ControlKind::staticText, 0, 10, 24 + 12 * k, 20, 8, 0, rgbTexts[k]));
        paint.push_back(spinner(rgbSpinners[k][0], rgbSpinners[k][1], 60, 24 + 12 * k));
    }
    paint.push_back(control(1041, ControlKind::image, 0, 6, 60, 96, 16));
    const int pairs[][5] = {{text::blur, 1029, 1030, 1031, 1032},
                            {text::edgeBlur, 1037, 1038, 1039, 1040},
                            {text::mix, 1033, 1034, 1035, 1036},
                            {text::wind, 1042, 1043, 1044, 1045},
                            {text::dry, 1062, 1063, 1064, 1065}};
    int y = 82;
    for (const auto& p : pairs) {
        row(paint, p[0], p[1], p[2], y);
        row(paint, text::random, p[3], p[4], y += 12);
        y += 12;
    }
    row(paint, text::windAngle, 1046, 1047, y);
    paint.push_back(check(1104, text::setRandomPixelSize, 6, y += 14, 96));
    row(paint, text::size, 1059, 1060, y += 12);
    paint.push_back(button(1084, text::setAsDefault, 6, y += 16, 96));
    all[123] = page(123, y + 14, {});
    all[123].controls = std::move(paint);
}

}  // namespace vml::resources
