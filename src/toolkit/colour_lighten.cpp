#include "toolkit/colour_lighten.h"

#include <algorithm>

namespace lumbra {

namespace {
int LightenChannel(int channel, int percent) {
    return channel + percent * (255 - channel) / 100;
}
}  // namespace

Rgb Lighten(Rgb colour, int percent) {
    const int p = std::clamp(percent, 0, 100);
    return MakeRgb(LightenChannel(RedOf(colour), p), LightenChannel(GreenOf(colour), p),
                   LightenChannel(BlueOf(colour), p));
}

}  // namespace lumbra
