#include "toolkit/qt/markup_qt_surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <map>

#include "toolkit/qt/bundled_fonts.h"
#include "toolkit/qt/markup_painting.h"
#include "toolkit/qt/markup_pictures.h"

namespace lumbra {

namespace {

// Code points of the bytes 0x80..0x9F in the desktop's Western code page (0 = unused).
constexpr char16_t kWestern80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The largest pixel size whose cell (ascent + descent, as drawn) is no taller than `cell`:
// first scaled from the face's proportions, then stepped down where hinting rounds it up.
int PixelSizeForCell(const QFont& font, int cell) {
    static std::map<std::pair<QString, int>, int> sizes;
    const QString key = font.family() + (font.bold() ? "b" : "") + (font.italic() ? "i" : "");
    const auto it = sizes.find({key, cell});
    if (it != sizes.end()) return it->second;
    QFont probe(font);
    probe.setPixelSize(100);
    const QFontMetricsF proportions(probe);
    const double hundredCell = proportions.ascent() + proportions.descent();
    int pixels = std::max(1, static_cast<int>(cell * (hundredCell > 0 ? 100.0 / hundredCell : 1.0) + 0.5));
    for (; pixels > 1; --pixels) {
        probe.setPixelSize(pixels);
        const QFontMetrics drawn(probe);
        if (drawn.ascent() + drawn.descent() <= cell) break;
    }
    sizes[{key, cell}] = pixels;
    return pixels;
}

}  // namespace

QString MarkupTextToQString(std::string_view text) {
    // Latin-1 but for 0x80..0x9F, where the code page has its own characters.
    QString out = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : out) {
        const char16_t code = c.unicode();
        if (code >= 0x80 && code < 0xA0 && kWestern80[code - 0x80] != 0) c = QChar(kWestern80[code - 0x80]);
    }
    return out;
}

QFont MarkupFont(const FontSpec& request) {
    LoadBundledFonts();
    QFont font(BundledFamilyFor(QString::fromStdString(request.face)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(request.weight, 100, 900)));
    font.setItalic(request.italic);
    font.setUnderline(request.underline);
    font.setStrikeOut(request.strikeout);
    font.setPixelSize(PixelSizeForCell(font, std::max(1, request.size)));
    return font;
}

QImage ToQImage(const PixelBuffer& pixels) {
    QImage image(pixels.width, pixels.height, QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < pixels.width; ++x) line[x] = pixels.at(x, y);
    }
    return image;
}

PixelBuffer FromQImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    PixelBuffer out(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) out.at(x, y) = line[x];
    }
    return out;
}

QtMarkupSurface::QtMarkupSurface(QPainter* painter) : painter_(painter) {}

void QtMarkupSurface::selectFont(const FontSpec& font) {
    font_ = MarkupFont(font);
    metrics_ = QFontMetrics(font_);
}

FontMetrics QtMarkupSurface::fontMetrics() {
    return {metrics_.ascent() + metrics_.descent(), metrics_.ascent(), metrics_.descent(), metrics_.xHeight()};
}

int QtMarkupSurface::textWidth(std::string_view text) { return metrics_.horizontalAdvance(MarkupTextToQString(text)); }

void QtMarkupSurface::drawText(int x, int y, std::string_view text, Rgb colour, std::optional<Rgb> background) {
    if (!painter_) return;
    const QString string = MarkupTextToQString(text);
    QFont font = font_;
    if (wordSpacing_ != 0) font.setWordSpacing(wordSpacing_);
    const QFontMetrics metrics(font);
    if (background) {
        painter_->fillRect(QRect(x, y, metrics.horizontalAdvance(string), metrics.ascent() + metrics.descent()),
                           ToQColor(*background));
    }
    painter_->setFont(font);
    painter_->setPen(ToQColor(colour));
    painter_->drawText(x, y + metrics.ascent(), string);
}

void QtMarkupSurface::setJustification(int extra, int spaces) {
    wordSpacing_ = spaces > 0 ? static_cast<double>(extra) / spaces : 0;
}

void QtMarkupSurface::drawLine(int x1, int y1, int x2, int y2, Rgb colour, int width) {
    if (!painter_) return;
    painter_->setPen(QPen(ToQColor(colour), width));
    painter_->drawLine(x1, y1, x2, y2);
}

void QtMarkupSurface::fillRect(const MarkupRect& rect, Rgb colour) {
    if (painter_) painter_->fillRect(QRect(rect.left, rect.top, rect.width(), rect.height()), ToQColor(colour));
}

void QtMarkupSurface::drawPixels(const PixelBuffer& pixels, const MarkupRect& destination) {
    if (!painter_ || pixels.empty()) return;
    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_->drawImage(QRect(destination.left, destination.top, destination.width(), destination.height()),
                        ToQImage(pixels));
    painter_->restore();
}

std::optional<PixelBuffer> QtMarkupSurface::loadImage(const ImageSource& source) {
    std::optional<QImage> image;
    if (source.resource) {
        image = MarkupPictures::instance().resource(*source.resource);
    } else if (!source.file.empty()) {
        QImage file(QString::fromStdString(source.file));
        if (!file.isNull()) image = file;
    } else if (source.handle) {
        image = MarkupPictures::instance().handle(*source.handle);
    }
    if (!image || image->isNull()) return std::nullopt;
    return FromQImage(*image);
}

std::optional<std::string> QtMarkupSurface::resourceString(int) { return std::nullopt; }

int QtMarkupSurface::pixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

int QtMarkupSurface::systemIconSize() { return 32; }

}  // namespace lumbra
