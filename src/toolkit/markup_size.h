#pragma once
// Size values of the markup: pixels, font-relative and device units, percentages.
#include <string_view>

namespace lumbra {

// What the units of a size value are measured against.
struct SizeContext {
    int xHeight = 0;        // height of "x" in the current font ("ex")
    int fontHeight = 0;     // height of the current font ("em")
    int pixelsPerInch = 96; // vertical resolution of the device ("in", "cm", "mm", "pt", "pc")
};

// The largest size a value reads as, in pixels or percent; a larger one reads as 0.
inline constexpr int kMaxMarkupSize = 100000;
// The farthest the layout reaches: positions and extents stop there, so that adding two of
// them never overflows.
inline constexpr int kMaxMarkupExtent = 1 << 24;

// Reads a size against the current value. With `fontSizeTable`, bare numbers 1 to 7 are the
// classic font sizes 8, 10, 12, 14, 18, 24 and 36 pixels. A sign is read past and ignored;
// a value without a number, or beyond kMaxMarkupSize, reads as 0.
int ParseSize(std::string_view value, int current, const SizeContext& context,
              bool fontSizeTable = false);

// True when the value is a percentage.
bool IsPercentSize(std::string_view value);

// a + b and value * numerator / denominator (0 when the denominator is 0), held within
// plus or minus kMaxMarkupExtent.
int AddExtent(int a, int b);
int ScaleExtent(int value, long long numerator, long long denominator);

// The platform's multiply-divide: a * b / c rounded to the nearest, 0 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace lumbra
