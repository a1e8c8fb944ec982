// The renderer's settings (108), version (106) and render-progress summary (112) pages.

#include "resources/DialogTemplateBuilder.h"

namespace vml::resources {

void addRendererTemplates(DialogTemplates& all)
{
    all[108] = page(108, 236,
                    {group(2000, 2, 70),
                     check(1069, 2001, 6, 12, 62),
                     spinner(1070, 1071, 70, 12),
                     check(1059, 2002, 6, 24, 62),
                     label(2003, 10, 36, 20),
                     spinner(1060, 1061, 34, 36),
                     control(1062, ControlKind::mapButton, 0, 72, 36, 32, 10, 0, "None"),
                     check(1063, 2004, 6, 48),
                     label(2005, 10, 60, 20),
                     spinner(1064, 1065, 30, 60, 24),
                     label(2006, 58, 60, 16),
                     spinner(1066, 1067, 76, 60, 24),
                     check(1117, 2007, 6, 72),
                     group(2008, 86, 96),
                     check(1072, 2009, 6, 96, 40),
                     control(1110, ControlKind::tab, 0, 6, 108, 96, 12),
                     control(1108, ControlKind::listBox, 0, 6, 122, 60, 48),
                     label(2010, 70, 122, 24),
                     control(1116, ControlKind::staticText, 0, 94, 122, 10, 8, 0, "1"),
                     control(1112, ControlKind::button, 2011, 70, 134, 34, 10),
                     control(1113, ControlKind::button, 2012, 70, 146, 34, 10),
                     control(1114, ControlKind::button, 2013, 70, 158, 34, 10),
                     control(1115, ControlKind::button, 2014, 70, 170, 34, 10),
                     group(2015, 186, 48),
                     check(1068, 2016, 6, 196, 96),
                     label(2017, 10, 208, 36),
                     control(1105, ControlKind::comboBox, 0, 48, 208, 56, 60),
                     label(2018, 10, 220, 36),
                     spinner(1106, 1107, 48, 220)});
    all[106] = page(106, 48,
                    {control(0, ControlKind::image, 0, 4, 4, 100, 24),
                     control(1003, ControlKind::staticText, 0, 4, 32, 100, 10)});
    all[112] = page(112, 80,
                    {label(2019, 4, 4, 60), control(1050, ControlKind::staticText, 0, 66, 4, 38, 8, 0, "0"),
                     label(2020, 4, 16, 60), control(1051, ControlKind::staticText, 0, 66, 16, 38, 8),
                     label(2021, 4, 28, 60), control(1052, ControlKind::staticText, 0, 66, 28, 38, 8),
                     label(2022, 4, 40, 60), control(1053, ControlKind::staticText, 0, 66, 40, 38, 8),
                     // Each value beside its label: 1055 is the memory saving, 1054 the pen strokes.
                     label(2023, 4, 52, 60), control(1055, ControlKind::staticText, 0, 66, 52, 38, 8),
                     label(2024, 4, 64, 60), control(1054, ControlKind::staticText, 0, 66, 64, 38, 8)});
}

}  // namespace vml::resources
