#pragma once
// Measures and draws markup text on a drawing surface, and answers the mouse over its links.
// Owners (the message box, the tooltip) keep one drawer each.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/markup_colour.h"
#include "toolkit/markup_records.h"
#include "toolkit/markup_style_sheet.h"
#include "toolkit/markup_surface.h"

namespace lumbra {

// What a click on a link does: "href" targets are opened by the desktop, "msg" targets are
// handed to the owner. Either may be left empty.
struct LinkActions {
    std::function<void(const std::string& target)> open;
    std::function<void(const std::string& target)> message;
};

class MarkupDrawer {
public:
    static constexpr int kNoLink = -2;

    explicit MarkupDrawer(const SystemColourScheme& scheme = ClassicColourScheme());

    // Stores and measures a text; the size includes one extra pixel each way (0 x 0 for an
    // empty text, and then the text is dropped).
    MarkupSize prepare(MarkupSurface& surface, std::string_view text);
    // Draws the stored text into the rectangle.
    void draw(MarkupSurface& surface, const MarkupRect& rect);

    void addStyleSheet(std::string_view sheet) { sheet_.parse(sheet); }
    void setMaxWidth(int width) { maxWidth_ = width; }
    void setTabSize(int pixels) { tabSize_ = pixels; }
    void setShadow(const ImageShadow& shadow) { shadow_ = shadow; }
    // Called with the new link index (or kNoLink) when the link under the mouse changes.
    void setHoverNotification(std::function<void(int)> notify) { hoverNotify_ = std::move(notify); }
    void setLinkActions(LinkActions actions) { linkActions_ = std::move(actions); }

    // Index of the first link area that holds the point, bounds inclusive; -1 when none.
    int linkUnderPoint(int x, int y) const;
    // True when the point is over a link with a target (the owner shows the hand cursor).
    bool mouseOver(int x, int y);
    void click(int x, int y);
    // Advances the animated image lists; true when a frame changed and a redraw is due.
    bool animationTick();

    const std::string& text() const { return text_; }
    int hoverLink() const { return hoverLink_; }
    const LayoutRecords& records() const { return records_; }
    const ColourTable& colours() const { return colours_; }

private:
    MarkupSize runPass(MarkupSurface& surface, bool drawing, const MarkupRect& area);

    ColourTable colours_;
    StyleSheet sheet_;
    std::string text_;
    LayoutRecords records_;
    int maxWidth_ = 0;
    int tabSize_ = 32;
    ImageShadow shadow_;
    int hoverLink_ = kNoLink;
    std::function<void(int)> hoverNotify_;
    LinkActions linkActions_;
};

}  // namespace lumbra
