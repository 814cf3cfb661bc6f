// The image tags of a pass: "bmp", "icon" and "ilst" with their frames, styles, shadows and
// animation slots.
#include <algorithm>

#include "toolkit/markup_pass.h"

namespace lumbra {

void MarkupPass::placeImage(MarkupTag tag, const MarkupAttributes& attributes) {
    const ImageSource::Kind kind = tag == MarkupTag::Icon ? ImageSource::Kind::Icon : ImageSource::Kind::Bitmap;
    const ImageTag image = ReadImageTag(kind, attributes, sizeContext());
    const std::optional<PixelBuffer> loaded = surface_.loadImage(image.source);
    if (!loaded || loaded->empty()) return;

    PixelBuffer picture = *loaded;
    int baseWidth = picture.width;
    int baseHeight = picture.height;
    if (tag == MarkupTag::Icon) baseWidth = baseHeight = surface_.systemIconSize();
    if (tag == MarkupTag::ImageList) {
        const FrameGrid grid = FrameGridOf(*loaded, image.cx, image.cy);
        if (grid.count == 0) return;
        int index = image.index;
        if (image.speed > 0) {
            if (!settings_.drawing) {
                records_.animations.push_back({image.index, grid.count, 0, image.speed});
            } else if (animationCursor_ < records_.animations.size()) {
                index = records_.animations[animationCursor_++].frame;
            }
        }
        picture = CutFrame(*loaded, grid, index);
        baseWidth = grid.cx;
        baseHeight = grid.cy;
    }
    const int width = std::max(ParseSize(image.width, baseWidth, sizeContext()), 0);
    const int height = std::max(ParseSize(image.height, baseHeight, sizeContext()), 0);
    const bool hot = style_.linkKind != LinkKind::None && style_.linkIndex == settings_.hoverLink;
    const std::string& letters = hot ? image.hotStyle : image.style;
    const bool shadow = WantsShadow(letters, settings_.shadow);
    const int boxWidth = AddExtent(width, shadow ? settings_.shadow.offsetX : 0);
    const int boxHeight = AddExtent(height, shadow ? settings_.shadow.offsetY : 0);

    startLine();
    Block& b = *block_;
    if (!settings_.drawing) {
        b.x = AddExtent(b.x, boxWidth);
        widenLine(boxHeight, 0);
        return;
    }
    if (image.mask && !picture.empty()) ApplyMask(picture, *image.mask);
    if (!picture.empty()) drawImage(std::move(picture), letters, width, height);
    b.x = AddExtent(b.x, boxWidth);
}

void MarkupPass::drawImage(PixelBuffer picture, const std::string& letters, int width, int height) {
    const Block& b = *block_;
    const LineMetrics& line = currentLine();
    int top = b.y + line.ascent - line.descent - height;
    if (style_.verticalAlign == VerticalAlign::Top) top = b.y;
    if (style_.verticalAlign == VerticalAlign::Middle) top = b.y + (line.ascent - height) / 2;
    if (style_.verticalAlign == VerticalAlign::Bottom) top = b.y + line.ascent - height;
    ApplyImageStyle(picture, letters);
    const MarkupRect box{b.x, top, b.x + width, top + height};
    if (WantsShadow(letters, settings_.shadow)) {
        const int dx = settings_.shadow.offsetX;
        const int dy = settings_.shadow.offsetY;
        surface_.drawPixels(MakeShadow(picture, settings_.shadow),
                            {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy});
    }
    surface_.drawPixels(picture, box);
    addLink(box);
}

}  // namespace lumbra
