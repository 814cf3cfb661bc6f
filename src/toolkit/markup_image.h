#pragma once
// Pictures inside markup: what an image tag asks for, frames of image lists, the drawing
// styles (grey, dark, light, shadow) and the animation of image lists.
#include <optional>
#include <string>
#include <vector>

#include "toolkit/markup_surface.h"
#include "toolkit/markup_colour.h"
#include "toolkit/markup_size.h"
#include "toolkit/markup_tokenizer.h"

namespace lumbra {

struct ImageAnimation {
    int frame = 0;
    int frameCount = 0;
    int ticks = 0;
    int speed = 0;  // ticks per frame
};

// One tick for every slot with frames; true when any slot moved to another frame.
bool AdvanceAnimations(std::vector<ImageAnimation>& slots);

struct ImageShadow {
    int offsetX = 4;
    int offsetY = 4;
    int darkness = 50;  // percent, at most 100
    int kind = 1;       // 0 plain, otherwise soft
    int blurX = 7;
    int blurY = 7;
    int greyLevel() const;  // 255 x (100 - darkness) / 100
};

struct ImageTag {
    ImageSource source;
    std::optional<Rgb> mask;
    std::string style;
    std::string hotStyle;
    int index = 0;
    int cx = 0;  // 0 when not given
    int cy = 0;
    std::string width;   // pixels or percent; empty for 100 %
    std::string height;
    int speed = 0;
};

ImageTag ReadImageTag(ImageSource::Kind kind, const MarkupAttributes& attributes,
                      const SizeContext& sizes);

// How an image list is cut: frames of cx x cy, numbered row by row.
struct FrameGrid {
    int cx = 0;
    int cy = 0;
    int columns = 0;
    int count = 0;
};
FrameGrid FrameGridOf(const PixelBuffer& picture, int cx, int cy);
// The frame, or an empty picture when the index is beyond the frames.
PixelBuffer CutFrame(const PixelBuffer& picture, const FrameGrid& grid, int index);

// Pixels of the mask colour become fully transparent.
void ApplyMask(PixelBuffer& picture, Rgb mask);
// Style letters "g" grey, "d" dark, "l" light; transparent pixels are left alone.
void ApplyImageStyle(PixelBuffer& picture, const std::string& letters);
bool WantsShadow(const std::string& letters, const ImageShadow& shadow);
// The shadow of a picture: its shape in the shadow's grey, blurred for the soft kind.
PixelBuffer MakeShadow(const PixelBuffer& picture, const ImageShadow& shadow);

}  // namespace lumbra
