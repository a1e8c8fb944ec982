// The renderer's settings (108), version (106) and render-progress summary (112) pages.

#include "resources/DialogTemplateBuilder.h"
#include "resources/StringIds.h"

namespace vml::resources {

void addRendererTemplates(DialogTemplates& all)
{
    namespace settings = strings::rendererPage;
    namespace summary = strings::summaryPage;
    all[108] = page(108, 236,
                    {group(settings::options, 2, 70),
                     check(1069, settings::brushScaling, 6, 12, 62),
                     spinner(1070, 1071, 70, 12),
                     check(1059, settings::bleedStrengthMap, 6, 24, 62),
                     label(settings::amount, 10, 36, 20),
                     spinner(1060, 1061, 34, 36),
                     control(1062, ControlKind::mapButton, 0, 72, 36, 32, 10, 0, "None"),
                     check(1063, settings::brushCache, 6, 48),
                     label(settings::size, 10, 60, 20),
                     spinner(1064, 1065, 30, 60, 24),
                     label(settings::count, 58, 60, 16),
                     spinner(1066, 1067, 76, 60, 24),
                     check(1117, settings::saveMemory, 6, 72),
                     group(settings::multipassRendering, 86, 96),
                     check(1072, settings::enable, 6, 96, 40),
                     control(1110, ControlKind::tab, 0, 6, 108, 96, 12),
                     control(1108, ControlKind::listBox, 0, 6, 122, 60, 48),
                     label(settings::selected, 70, 122, 24),
                     control(1116, ControlKind::staticText, 0, 94, 122, 10, 8, 0, "1"),
                     control(1112, ControlKind::button, settings::add, 70, 134, 34, 10),
                     control(1113, ControlKind::button, settings::remove, 70, 146, 34, 10),
                     control(1114, ControlKind::button, settings::cut, 70, 158, 34, 10),
                     control(1115, ControlKind::button, settings::paste, 70, 170, 34, 10),
                     group(settings::crayonExtension, 186, 48),
                     check(1068, settings::drawStrokesAfterwards, 6, 196, 96),
                     label(settings::blendMethod, 10, 208, 36),
                     control(1105, ControlKind::comboBox, 0, 48, 208, 56, 60),
                     label(settings::blendAmount, 10, 220, 36),
                     spinner(1106, 1107, 48, 220)});
    all[106] = page(106, 48,
                    {control(0, ControlKind::image, 0, 4, 4, 100, 24),
                     control(1003, ControlKind::staticText, 0, 4, 32, 100, 10)});
    // Each value beside its label: 1055 is the memory saving, 1054 the pen strokes.
    constexpr int summaryRows[][2] = {
        {summary::strokes, 1050},    {summary::brushScaling, 1051}, {summary::bleedStrengthMap, 1052},
        {summary::brushCache, 1053}, {summary::saveMemory, 1055},   {summary::drawStrokesAfterwards, 1054}};
    all[112] = page(112, 80, {});
    for (int r = 0; r < 6; ++r) {
        const int y = 4 + 12 * r;
        all[112].controls.push_back(label(summaryRows[r][0], 4, y, 60));
        all[112].controls.push_back(
            control(summaryRows[r][1], ControlKind::staticText, 0, 66, y, 38, 8, 0, r == 0 ? "0" : ""));
    }
}

}  // namespace vml::resources
