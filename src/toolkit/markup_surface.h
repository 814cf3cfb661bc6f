#pragma once
// The drawing surface the markup is measured and drawn on. The markup core knows nothing of
// the window system; a Qt painter implements this in the GUI, a fake one in the tests.
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/markup_style.h"
#include "toolkit/pixel_buffer.h"

namespace lumbra {

struct MarkupRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const MarkupRect&) const = default;
};

struct MarkupSize {
    int width = 0;
    int height = 0;
    bool operator==(const MarkupSize&) const = default;
};

struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int xHeight = 0;
};

// Where the picture of an image tag comes from; the first source given wins.
struct ImageSource {
    enum class Kind { Bitmap, Icon };
    Kind kind = Kind::Bitmap;
    std::optional<int> resource;      // "idres": a picture of the application
    std::string file;                 // "file"
    std::optional<int> moduleResource;  // "iddll" with the library "srcdll" (may be empty)
    std::string module;
    std::optional<uint32_t> handle;   // "handle": a picture the caller registered
};

class MarkupSurface {
public:
    virtual ~MarkupSurface() = default;

    virtual void selectFont(const FontSpec& font) = 0;
    virtual FontMetrics fontMetrics() = 0;
    virtual int textWidth(std::string_view text) = 0;
    // Draws a text with its top-left corner at (x, y) in the selected font; a background
    // colour fills the text's box first.
    virtual void drawText(int x, int y, std::string_view text, Rgb colour,
                          std::optional<Rgb> background) = 0;
    // Spreads `extra` pixels over the next `spaces` spaces drawn (0, 0 ends it).
    virtual void setJustification(int extra, int spaces) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, Rgb colour, int width) = 0;
    virtual void fillRect(const MarkupRect& rect, Rgb colour) = 0;
    // Draws a picture stretched over a rectangle, honouring its alpha.
    virtual void drawPixels(const PixelBuffer& pixels, const MarkupRect& destination) = 0;
    virtual std::optional<PixelBuffer> loadImage(const ImageSource& source) = 0;
    virtual std::optional<std::string> resourceString(int id) = 0;
    virtual int pixelsPerInch() = 0;
    virtual int systemIconSize() = 0;
};

}  // namespace lumbra
