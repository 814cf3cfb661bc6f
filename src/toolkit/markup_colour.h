#pragma once
// Colour values of the markup: "#rrggbb", platform numbers and the named colours.
#include <array>
#include <string>
#include <string_view>

#include "toolkit/colour_lighten.h"

namespace lumbra {

// The desktop's colour scheme entries that markup can name ("buttonface", "window", ...),
// indexed by the desktop's colour numbers 0..24.
using SystemColourScheme = std::array<Rgb, 25>;

namespace system_colour {
constexpr int kScrollBar = 0, kBackground = 1, kActiveCaption = 2, kInactiveCaption = 3,
              kMenu = 4, kWindow = 5, kWindowFrame = 6, kMenuText = 7, kWindowText = 8,
              kCaptionText = 9, kActiveBorder = 10, kInactiveBorder = 11, kAppWorkspace = 12,
              kHighlight = 13, kHighlightText = 14, kButtonFace = 15, kButtonShadow = 16,
              kGrayText = 17, kButtonText = 18, kInactiveCaptionText = 19,
              kButtonHighlight = 20, kDarkShadow = 21, kLight = 22, kInfoText = 23,
              kInfoBackground = 24;
}

// The classic grey desktop scheme, used where no desktop tells us better.
SystemColourScheme ClassicColourScheme();

// Platform colour numbers are 0x00BBGGRR; ours are 0xRRGGBB.
constexpr Rgb RgbFromPlatformNumber(unsigned long value) {
    return MakeRgb(static_cast<int>(value & 0xff), static_cast<int>((value >> 8) & 0xff),
                   static_cast<int>((value >> 16) & 0xff));
}

class ColourTable {
public:
    explicit ColourTable(const SystemColourScheme& scheme = ClassicColourScheme());
    // The value of a colour name (exact, lower case), or nothing.
    const Rgb* find(std::string_view name) const;
    size_t size() const;

private:
    struct Entry {
        const char* name;
        Rgb value;
    };
    std::array<Entry, 168> entries_;
};

// Reads a colour value; anything that is not a colour keeps `current`.
Rgb ParseColour(std::string_view value, Rgb current, const ColourTable& table);

}  // namespace lumbra
