// Hue, saturation and value to red, green and blue by the six-sector rule.

#include "hsv_colour.h"

#include <cmath>

Color hsv_to_rgb(float h, float s, float v)
{
    if (s <= 0.0f)
        return {v, v, v};
    const float two_pi = 6.2831855f;
    float turn = std::fmod(h, two_pi);
    if (turn < 0.0f)
        turn += two_pi;
    turn *= 0.95492965f;  // 3 / pi: a full turn spans six sectors
    const float sector = std::floor(turn);
    const float f = turn - sector;
    const float p = v * (1.0f - s), q = v * (1.0f - s * f), t = v * (1.0f - s * (1.0f - f));
    // A hue that is not a number falls into the last case (and stays not a number).
    switch (sector >= 0.0f && sector <= 5.0f ? int(sector) : 5) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}
