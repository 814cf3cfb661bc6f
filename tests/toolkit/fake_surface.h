#pragma once
// A drawing surface with fixed glyph metrics that records what is drawn: every character is
// 8 pixels wide, a font of size s is s high with a descent of s / 4.
#include <map>
#include <string>
#include <vector>

#include "toolkit/markup_surface.h"

namespace lumbra::testing {

struct DrawnText {
    int x, y;
    std::string text;
    FontSpec font;
    Rgb colour;
    std::optional<Rgb> background;
};

struct DrawnPixels {
    PixelBuffer pixels;
    MarkupRect rect;
};

class FakeSurface : public MarkupSurface {
public:
    static constexpr int kCharWidth = 8;

    void selectFont(const FontSpec& font) override { font_ = font; }
    FontMetrics fontMetrics() override {
        return {font_.size, font_.size - font_.size / 4, font_.size / 4, font_.size / 2};
    }
    int textWidth(std::string_view text) override { return static_cast<int>(text.size()) * kCharWidth; }
    void drawText(int x, int y, std::string_view text, Rgb colour, std::optional<Rgb> background) override {
        texts.push_back({x, y, std::string(text), font_, colour, background});
    }
    void setJustification(int extra, int spaces) override { justifications.emplace_back(extra, spaces); }
    void drawLine(int x1, int y1, int x2, int, Rgb colour, int width) override {
        lines.push_back({x1, y1, x2, width, colour});
    }
    void fillRect(const MarkupRect& rect, Rgb colour) override { fills.push_back({rect, colour}); }
    void drawPixels(const PixelBuffer& pixels, const MarkupRect& destination) override {
        images.push_back({keepPictures ? pixels : PixelBuffer(), destination});
    }
    std::optional<PixelBuffer> loadImage(const ImageSource& source) override {
        if (source.resource) {
            auto it = resources.find(*source.resource);
            if (it != resources.end()) return it->second;
        }
        if (source.handle) {
            auto it = handles.find(*source.handle);
            if (it != handles.end()) return it->second;
        }
        return std::nullopt;
    }
    std::optional<std::string> resourceString(int id) override {
        auto it = strings.find(id);
        if (it == strings.end()) return std::nullopt;
        return it->second;
    }
    int pixelsPerInch() override { return 96; }
    int systemIconSize() override { return 32; }

    // Everything drawn as one string, in drawing order.
    std::string drawnText() const {
        std::string all;
        for (const auto& t : texts) all += t.text;
        return all;
    }

    struct Line {
        int x1, y1, x2, width;
        Rgb colour;
    };
    struct Fill {
        MarkupRect rect;
        Rgb colour;
    };
    std::vector<DrawnText> texts;
    std::vector<std::pair<int, int>> justifications;
    std::vector<Line> lines;
    std::vector<Fill> fills;
    std::vector<DrawnPixels> images;
    std::map<int, PixelBuffer> resources;
    std::map<uint32_t, PixelBuffer> handles;
    std::map<int, std::string> strings;
    // Off, a drawn picture is recorded by its place only: a text of many large cells draws
    // thousands of pictures, and copies of them all would fill the memory.
    bool keepPictures = true;

private:
    FontSpec font_;
};


}  // namespace lumbra::testing
