#include "forms/units.h"

#include <cmath>

namespace forms {

double twipsPerPixel(int pixelsPerInch) { return pixelsPerInch > 0 ? 1440.0 / pixelsPerInch : 15.0; }

std::int16_t pixelsToTwips16(long pixels, double tpp) {
    const double twips = std::nearbyint(pixels * tpp);
    if (twips < INT16_MIN || twips > INT16_MAX) return 0;
    return static_cast<std::int16_t>(twips);
}

long twipsToPixels(long twips, double tpp) { return std::lround(twips / tpp); }

}  // namespace forms
