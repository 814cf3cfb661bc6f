// Lays out 2,000 words of markup on the Qt surface with a maximum width and without one, and
// prints the ratio of the two layout times: wrapping should cost a small factor, whatever the
// length of the text.
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "bench_timing.h"
#include "toolkit/markup_drawer.h"
#include "toolkit/qt/markup_qt_surface.h"

namespace {

using namespace lumbra;

std::string Words(int count) {
    const char* const vocabulary[] = {"recovery", "of", "the", "pool", "segments", "volume,", "blocks",
                                      "read-only", "sector", "<b>tree</b>", "and", "files;", "found."};
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += vocabulary[static_cast<size_t>(i * 7 + i / 13) % std::size(vocabulary)];
        text += ' ';
    }
    return text;
}

bench::Timing LayOut(const std::string& text, int maxWidth, MarkupSize* size) {
    bench::Timing best;
    for (int round = 0; round < 5; ++round) {
        MarkupDrawer drawer;
        drawer.setMaxWidth(maxWidth);
        QtMarkupSurface surface;
        const bench::Stopwatch watch;
        *size = drawer.prepare(surface, text);
        bench::KeepBest(best, watch.elapsed());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string text = Words(2000);
    MarkupSize plainSize, wrappedSize;
    const bench::Timing plain = LayOut(text, 0, &plainSize);
    const bench::Timing wrapped = LayOut(text, 400, &wrappedSize);
    std::printf("2000 words (%zu bytes): one line %d px wide in %.2f ms; wrapped at 400 px into %d px high in %.2f ms\n",
                text.size(), plainSize.width, plain.cpu * 1e3, wrappedSize.height, wrapped.cpu * 1e3);
    std::printf("ratio wrapped / unwrapped: %.2f (target at most 3)\n", wrapped.cpu / plain.cpu);
    return 0;
}
