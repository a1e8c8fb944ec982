#pragma once
// Conversions between RGB and HSV. Hue, saturation and value are all 0 to 1; hue 0 is red and
// wraps at 1. A grey (saturation 0) has hue 0, so HSV methods that borrow the hue of a grey
// borrow red's.

#include "host/Color.h"

Color RGBtoHSV(const Color& rgb);
Color HSVtoRGB(const Color& hsv);
