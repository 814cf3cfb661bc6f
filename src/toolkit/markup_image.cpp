#include "toolkit/markup_image.h"

#include <algorithm>
#include <cstdlib>

namespace lumbra {

namespace {

int ReadNumber(const MarkupAttributes& attributes, std::string_view name, const SizeContext& sizes) {
    const std::string* value = FindAttribute(attributes, name);
    return value ? ParseSize(*value, 0, sizes) : 0;
}

uint32_t WithRgb(uint32_t pixel, int r, int g, int b) {
    return (pixel & 0xff000000u) | MakeRgb(std::min(r, 255), std::min(g, 255), std::min(b, 255));
}

// A box blur of the alpha channel, rows then columns.
void BlurAlpha(PixelBuffer& picture, int extentX, int extentY) {
    auto pass = [&](bool horizontal, int radius) {
        if (radius <= 0) return;
        const PixelBuffer source = picture;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                int sum = 0;
                for (int d = -radius; d <= radius; ++d) {
                    const int sx = horizontal ? x + d : x;
                    const int sy = horizontal ? y : y + d;
                    if (sx >= 0 && sy >= 0 && sx < picture.width && sy < picture.height) {
                        sum += AlphaOf(source.at(sx, sy));
                    }
                }
                const uint32_t alpha = static_cast<uint32_t>(sum / (2 * radius + 1));
                picture.at(x, y) = (alpha << 24) | RgbOfPixel(source.at(x, y));
            }
        }
    };
    pass(true, extentX / 2);
    pass(false, extentY / 2);
}

}  // namespace

bool AdvanceAnimations(std::vector<ImageAnimation>& slots) {
    bool changed = false;
    for (auto& slot : slots) {
        if (slot.frameCount <= 0) continue;
        if (++slot.ticks < slot.speed) continue;
        slot.ticks = 0;
        slot.frame = slot.frame + 1 >= slot.frameCount ? 0 : slot.frame + 1;
        changed = true;
    }
    return changed;
}

int ImageShadow::greyLevel() const { return 255 * (100 - std::clamp(darkness, 0, 100)) / 100; }

ImageTag ReadImageTag(ImageSource::Kind kind, const MarkupAttributes& attributes,
                      const SizeContext& sizes) {
    ImageTag tag;
    tag.source.kind = kind;
    if (FindAttribute(attributes, "idres")) {
        tag.source.resource = ReadNumber(attributes, "idres", sizes);
    } else if (const std::string* file = FindAttribute(attributes, "file")) {
        tag.source.file = *file;
    } else if (FindAttribute(attributes, "iddll")) {
        tag.source.moduleResource = ReadNumber(attributes, "iddll", sizes);
        if (const std::string* module = FindAttribute(attributes, "srcdll")) tag.source.module = *module;
    } else if (const std::string* handle = FindAttribute(attributes, "handle")) {
        tag.source.handle = static_cast<uint32_t>(std::strtoul(handle->c_str(), nullptr, 0));
    }
    if (const std::string* mask = FindAttribute(attributes, "mask")) {
        tag.mask = mask->empty() ? Rgb{0xff00ff}
                                 : RgbFromPlatformNumber(std::strtoul(mask->c_str(), nullptr, 0));
    }
    if (const std::string* style = FindAttribute(attributes, "style")) tag.style = tag.hotStyle = *style;
    if (const std::string* hot = FindAttribute(attributes, "hotstyle")) tag.hotStyle = *hot;
    if (const std::string* width = FindAttribute(attributes, "width")) tag.width = *width;
    if (const std::string* height = FindAttribute(attributes, "height")) tag.height = *height;
    tag.index = ReadNumber(attributes, "index", sizes);
    tag.cx = ReadNumber(attributes, "cx", sizes);
    tag.cy = ReadNumber(attributes, "cy", sizes);
    tag.speed = ReadNumber(attributes, "speed", sizes);
    return tag;
}

FrameGrid FrameGridOf(const PixelBuffer& picture, int cx, int cy) {
    if (cx <= 0 && cy <= 0) cx = cy = std::min(picture.width, picture.height);
    if (cx <= 0) cx = cy;
    if (cy <= 0) cy = cx;
    if (cx <= 0 || cy <= 0) return {};
    const int columns = picture.width / cx;
    return {cx, cy, columns, columns * (picture.height / cy)};
}

PixelBuffer CutFrame(const PixelBuffer& picture, const FrameGrid& grid, int index) {
    if (index < 0 || index >= grid.count || grid.columns <= 0) return {};
    const int left = (index % grid.columns) * grid.cx;
    const int top = (index / grid.columns) * grid.cy;
    PixelBuffer frame(grid.cx, grid.cy);
    for (int y = 0; y < grid.cy; ++y) {
        for (int x = 0; x < grid.cx; ++x) frame.at(x, y) = picture.at(left + x, top + y);
    }
    return frame;
}

void ApplyMask(PixelBuffer& picture, Rgb mask) {
    for (uint32_t& pixel : picture.pixels) {
        if (RgbOfPixel(pixel) == mask) pixel = RgbOfPixel(pixel);
    }
}

void ApplyImageStyle(PixelBuffer& picture, const std::string& letters) {
    for (char letter : letters) {
        for (uint32_t& pixel : picture.pixels) {
            if (AlphaOf(pixel) == 0) continue;
            const int r = RedOf(pixel), g = GreenOf(pixel), b = BlueOf(pixel);
            if (letter == 'g') {
                const int luma = (299 * r + 587 * g + 114 * b) / 1000;
                pixel = WithRgb(pixel, luma, luma, luma);
            } else if (letter == 'd') {
                pixel = WithRgb(pixel, r * 3 / 4, g * 3 / 4, b * 3 / 4);
            } else if (letter == 'l') {
                pixel = WithRgb(pixel, r * 5 / 4, g * 5 / 4, b * 5 / 4);
            }
        }
    }
}

bool WantsShadow(const std::string& letters, const ImageShadow& shadow) {
    return letters.find('s') != std::string::npos && (shadow.offsetX != 0 || shadow.offsetY != 0);
}

PixelBuffer MakeShadow(const PixelBuffer& picture, const ImageShadow& shadow) {
    PixelBuffer out = picture;
    const int grey = shadow.greyLevel();
    for (uint32_t& pixel : out.pixels) {
        pixel = (pixel & 0xff000000u) | MakeRgb(grey, grey, grey);
    }
    if (shadow.kind != 0) BlurAlpha(out, shadow.blurX, shadow.blurY);
    return out;
}

}  // namespace lumbra
