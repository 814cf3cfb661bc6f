#include "toolkit/markup_drawer.h"

#include "toolkit/markup_pass.h"
#include "toolkit/markup_text.h"

namespace lumbra {

MarkupDrawer::MarkupDrawer(const SystemColourScheme& scheme) : colours_(scheme) {
    sheet_.parse(kDefaultStyleSheet);
}

MarkupSize MarkupDrawer::runPass(MarkupSurface& surface, bool drawing, const MarkupRect& area) {
    PassSettings settings;
    settings.drawing = drawing;
    settings.maxWidth = maxWidth_;
    settings.tabSize = tabSize_;
    settings.hoverLink = hoverLink_;
    settings.shadow = shadow_;
    MarkupPass pass(surface, records_, sheet_, colours_, settings);
    return pass.run(text_, area);
}

MarkupSize MarkupDrawer::prepare(MarkupSurface& surface, std::string_view text) {
    text_ = PrepareMarkupText(text);
    records_ = LayoutRecords{};
    if (text_.empty()) return {0, 0};
    MarkupSize size = runPass(surface, false, {0, 0, 0, 0});
    if (size.width == 0 && size.height == 0) {
        text_.clear();
        return {0, 0};
    }
    if (maxWidth_ > 0 && size.width > maxWidth_) size.width = maxWidth_;
    return {size.width + 1, size.height + 1};
}

void MarkupDrawer::draw(MarkupSurface& surface, const MarkupRect& rect) {
    if (text_.empty()) return;
    runPass(surface, true, rect);
}

int MarkupDrawer::linkUnderPoint(int x, int y) const {
    for (size_t i = 0; i < records_.links.size(); ++i) {
        if (records_.links[i].rect.contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

bool MarkupDrawer::mouseOver(int x, int y) {
    const int area = linkUnderPoint(x, y);
    if (area < 0) {
        if (hoverLink_ != kNoLink) {
            hoverLink_ = kNoLink;
            if (hoverNotify_) hoverNotify_(kNoLink);
        }
        return false;
    }
    const LinkArea& link = records_.links[static_cast<size_t>(area)];
    if (link.index != hoverLink_) {
        hoverLink_ = link.index;
        if (hoverNotify_) hoverNotify_(hoverLink_);
    }
    return !link.target.empty();
}

void MarkupDrawer::click(int x, int y) {
    const int area = linkUnderPoint(x, y);
    if (area < 0) return;
    const LinkArea& link = records_.links[static_cast<size_t>(area)];
    if (link.kind == LinkKind::Href && linkActions_.open) linkActions_.open(link.target);
    if (link.kind == LinkKind::Message && linkActions_.message) linkActions_.message(link.target);
}

bool MarkupDrawer::animationTick() { return AdvanceAnimations(records_.animations); }

}  // namespace lumbra
