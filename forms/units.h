#pragma once
#include <cstdint>

namespace forms {

// Twips per pixel for a device's logical pixels per inch (15 at 96).
double twipsPerPixel(int pixelsPerInch);

// A pane side in pixels as twips, held as a 16-bit signed value: a side that
// does not fit is 0.
std::int16_t pixelsToTwips16(long pixels, double twipsPerPixel);

// Twips back to whole pixels.
long twipsToPixels(long twips, double twipsPerPixel);

}  // namespace forms
