#pragma once
// The animated GIF control's arithmetic apart from Windows: the size and
// scale of each Stretch mode, DIB row lengths, mirroring pixel rows in place,
// and saving and restoring the area under a frame.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fulmina::gif {

// Rounds to the nearest integer, halves to the even one (2.5 gives 2).
long roundHalfEven(double value);

// Bytes per row of a DIB: rows are padded to 32 bits.
long rowStride(int bitsPerPixel, long width);

struct Fit {
    long width, height;  // the size the control takes
    float scaleX, scaleY;
};
// The Stretch modes (their numbers are the property's values).
enum class FitMode {
    natural = 0,       // natural size, the control no larger than the GIF
    proportional = 1,  // proportional fit
    stretched = 2,     // stretched both ways
    shrinkOnly = 3,    // proportional, never enlarged
    gifSize = 4,       // the control takes the GIF's size
};
Fit fitToControl(long width, long height, FitMode mode, long actualWidth, long actualHeight);

// Rows of a bottom-up DIB's bits as the control sees them: row 0 at the top.
struct Pixels {
    std::uint8_t* bits;
    long stride;  // bytes per row
    long height;  // rows
    std::uint8_t* row(long fromTop) const { return bits + (height - 1 - fromTop) * stride; }
};

// Mirrors a rectangle of an 8-bit or 24-bit image in place.
void mirrorBytes(const Pixels& image, int bytesPerPixel, long left, long top, long width, long height,
                 bool horizontally, bool vertically);
// Mirrors a whole 1-bit image of width pixels in place.
void mirrorBits(const Pixels& image, long width, bool horizontally, bool vertically);

// The area under a frame, as disposal 3 keeps it: its colour bytes and its
// mask bits, each row packed from the frame's left edge, for the frame's
// rows counted from the top. Mirrored with the buffers it came from, so that
// it goes back under a frame that was mirrored meanwhile.
struct SavedArea {
    std::vector<std::uint8_t> colour, mask;
    long width = 0, height = 0;
    void mirror(bool horizontally, bool vertically);
};
void saveArea(const Pixels& colour, const Pixels* mask, long left, long top, long width, long height, SavedArea& saved);
void restoreArea(const Pixels& colour, const Pixels* mask, long left, long top, long width, long height,
                 const SavedArea& saved);

}  // namespace fulmina::gif
