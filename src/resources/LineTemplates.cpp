// The line effect's pages: the main rollout (114), the element rollouts by type (115 all
// sections, 119 outline, 117 boundaries, 118 normal angle), the two host rollouts (120), the
// load-method dialog (121), the version page (122) and the paint rollout (123).

#include "resources/DialogTemplateBuilder.h"

#include <cstddef>
#include <vector>

namespace vml::resources {

namespace {

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
    c.push_back(group(4013, y, 0));
    y += 10;
    if (sections & outline) {
        c.push_back(check(1043, 4014, 6, y));
        row(c, 4015, 1063, 1069, y += 12);
        c.push_back(check(1061, 4016, 6, y += 12));
        row(c, 4015, 1070, 1076, y += 12);
        y += 12;
    }
    if (sections & boundary) {
        c.push_back(check(1045, 4017, 6, y));
        c.push_back(check(1046, 4018, 6, y += 12));
        row(c, 4019, 1056, 1058, y += 12);
        y += 12;
    }
    if (sections & normalAngle) {
        c.push_back(check(1062, 4020, 6, y));
        row(c, 4021, 1059, 1035, y += 12);
        row(c, 4022, 1057, 1034, y += 12);
        row(c, 4023, 1060, 1036, y += 12);
        y += 12;
    }
    c.front().height = y - c.front().y;
    return c;
}

DialogTemplate elementPage(int id, unsigned sections)
{
    Controls c{control(1044, ControlKind::editText, 0, 30, 4, 56, 10), label(4010, 4, 4, 24),
               check(1075, 4011, 88, 4, 18)};
    row(c, 4012, 1040, 1041, 16);
    int y = 30;
    for (DialogControl& d : detection(sections, y))
        c.push_back(d);
    const int line = y;
    const std::size_t lineGroup = c.size();
    c.push_back(group(4024, line, 0));
    row(c, 4025, 1024, 1025, y = line + 10);
    row(c, 4026, 1026, 1027, y += 12);
    row(c, 4027, 1028, 1029, y += 12);
    row(c, 4028, 1030, 1031, y += 12);
    c.push_back(control(1042, ControlKind::image, 0, 6, y += 12, 96, 32));
    c.push_back(label(4029, 10, y += 36, 44));
    c.push_back(control(1048, ControlKind::comboBox, 0, 60, y, 44, 80));
    row(c, 4030, 1049, 1050, y += 12);
    c.push_back(label(4031, 10, y += 12, 44));
    c.push_back(control(1051, ControlKind::colorSwatch, 0, 60, y, 36, 10));
    c.push_back(check(1054, 4032, 6, y += 12, 30));
    c.push_back(control(1055, ControlKind::mapButton, 0, 40, y, 64, 10, 0, "None"));
    row(c, 4033, 1052, 1053, y += 12);
    c[lineGroup].height = y + 14 - line;

    const int depth = y += 16;
    const std::size_t depthGroup = c.size();
    c.push_back(group(4034, depth, 0));
    c.push_back(check(1064, 4035, 6, y = depth + 10));
    row(c, 4036, 1071, 1072, y += 12);
    row(c, 4037, 1073, 1074, y += 12);
    c.push_back(check(1079, 4038, 6, y += 12));
    row(c, 4036, 1080, 1081, y += 12);
    row(c, 4037, 1082, 1083, y += 12);
    row(c, 4039, 1087, 1088, y += 12);
    row(c, 4040, 1065, 1066, y += 12);
    row(c, 4041, 1067, 1068, y += 12);
    c[depthGroup].height = y + 14 - depth;

    c.push_back(group(4042, y += 16, 28));
    c.push_back(button(1077, 782, 6, y += 12));
    c.push_back(button(1078, 786, 42, y));
    c.push_back(button(1084, 4043, 6, y += 18, 96));

    DialogTemplate t = page(id, y + 14, {});
    t.controls = std::move(c);
    return t;
}

}  // namespace

void addLineTemplates(DialogTemplates& all)
{
    all[114] = page(114, 150,
                    {check(1063, 602, 6, 4, 96), label(4000, 4, 18, 40), label(4001, 56, 18, 40),
                     control(1033, ControlKind::listBox, 0, 4, 28, 40, 60),
                     control(1035, ControlKind::button, 4002, 46, 40, 8, 10),
                     control(1036, ControlKind::button, 4003, 46, 54, 8, 10),
                     control(1034, ControlKind::listBox, 0, 56, 28, 48, 60), button(1038, 4004, 56, 90, 15),
                     button(1039, 4005, 73, 90, 15), button(1040, 4006, 90, 90, 14), group(4007, 106, 28),
                     button(1077, 790, 6, 118), button(1078, 794, 42, 118)});
    all[115] = elementPage(115, outline | boundary | normalAngle);
    all[119] = elementPage(119, outline);
    all[117] = elementPage(117, boundary);
    all[118] = elementPage(118, normalAngle);
    // The host rollouts only hold the selected element's child page.
    all[120] = page(120, 1, {});
    all[121] = page(121, 44,
                    {group(4074, 2, 24), control(1085, ControlKind::radioButton, 4070, 6, 12, 44, 10),
                     control(1086, ControlKind::radioButton, 4071, 54, 12, 44, 10), button(1, 4072, 20, 30),
                     button(2, 4073, 58, 30)});
    all[122] = page(122, 20, {control(1003, ControlKind::staticText, 4080, 4, 4, 100, 10)});

    Controls paint{group(4050, 2, 64), control(1048, ControlKind::radioButton, 4051, 6, 12, 40, 10),
                   control(1049, ControlKind::radioButton, 4052, 50, 12, 40, 10)};
    const int rgbLabels[] = {1056, 1057, 1058};
    const int rgbSpinners[][2] = {{1050, 1051}, {1052, 1053}, {1054, 1055}};
    const char* rgbTexts[] = {"R", "G", "B"};
    for (int k = 0; k < 3; ++k) {
        paint.push_back(
            control(rgbLabels[k], ControlKind::staticText, 0, 10, 24 + 12 * k, 20, 8, 0, rgbTexts[k]));
        paint.push_back(spinner(rgbSpinners[k][0], rgbSpinners[k][1], 60, 24 + 12 * k));
    }
    paint.push_back(control(1041, ControlKind::image, 0, 6, 60, 96, 16));
    const int pairs[][5] = {{4053, 1029, 1030, 1031, 1032},
                            {4055, 1037, 1038, 1039, 1040},
                            {4056, 1033, 1034, 1035, 1036},
                            {4057, 1042, 1043, 1044, 1045},
                            {4059, 1062, 1063, 1064, 1065}};
    int y = 82;
    for (const auto& p : pairs) {
        row(paint, p[0], p[1], p[2], y);
        row(paint, 4054, p[3], p[4], y += 12);
        y += 12;
    }
    row(paint, 4058, 1046, 1047, y);
    paint.push_back(check(1104, 4060, 6, y += 14, 96));
    row(paint, 4061, 1059, 1060, y += 12);
    paint.push_back(button(1084, 4043, 6, y += 16, 96));
    all[123] = page(123, y + 14, {});
    all[123].controls = std::move(paint);
}

}  // namespace vml::resources
