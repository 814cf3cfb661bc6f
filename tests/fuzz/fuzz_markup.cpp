// The markup core: a text prepared and drawn on the fixed-metrics surface of the toolkit
// tests, its links asked at a few points, its animations advanced. The option byte picks the
// largest width (0: none). The same bytes escaped draw as they read: every "<" of them comes
// out drawn.
#include <algorithm>
#include <string>

#include "fuzz_input.h"
#include "toolkit/fake_surface.h"
#include "toolkit/markup_drawer.h"
#include "toolkit/markup_escape.h"

using namespace lumbra;

namespace {

MarkupSize Render(testing::FakeSurface& surface, MarkupDrawer& drawer, std::string_view text) {
    surface.keepPictures = false;
    const MarkupSize size = drawer.prepare(surface, text);
    FUZZ_CHECK(size.width >= 0 && size.height >= 0);
    drawer.draw(surface, {0, 0, size.width, size.height});
    return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [options, bytes] = fuzz::SplitOptionByte(data, std::min<size_t>(size, 64 * 1024));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    {
        testing::FakeSurface surface;
        MarkupDrawer drawer;
        drawer.setMaxWidth(options * 4);
        const MarkupSize measured = Render(surface, drawer, text);
        for (int x : {0, measured.width / 2, measured.width})
            for (int y : {0, measured.height / 2, measured.height}) {
                drawer.mouseOver(x, y);
                drawer.click(x, y);
            }
        for (int tick = 0; tick < 3; ++tick) drawer.animationTick();
    }
    if (text.find('&') == std::string_view::npos) {
        testing::FakeSurface surface;
        MarkupDrawer drawer;
        Render(surface, drawer, EscapeMarkup(text));
        const std::string drawn = surface.drawnText();
        FUZZ_CHECK(std::count(drawn.begin(), drawn.end(), '<') == std::count(text.begin(), text.end(), '<'));
    }
    return 0;
}
