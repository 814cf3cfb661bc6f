#pragma once
// Prepares a text on the fake surface and draws it into a rectangle of the measured size
// (or a given width), as the message box and the tooltip do.
#include "fake_surface.h"
#include "toolkit/markup_drawer.h"

namespace lumbra::testing {

struct Rendered {
    FakeSurface surface;
    MarkupDrawer drawer;
    MarkupSize size;

    void render(std::string_view text, int drawWidth = 0) {
        size = drawer.prepare(surface, text);
        redraw(drawWidth);
    }
    void redraw(int drawWidth = 0) {
        surface.texts.clear();
        surface.fills.clear();
        surface.images.clear();
        surface.justifications.clear();
        drawer.draw(surface, {0, 0, drawWidth > 0 ? drawWidth : size.width, size.height});
    }
    const DrawnText& text(size_t i) const { return surface.texts.at(i); }
};

}  // namespace lumbra::testing
