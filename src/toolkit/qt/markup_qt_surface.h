#pragma once
// The markup's drawing surface on a QPainter (or, for measuring only, on no painter).
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "toolkit/markup_surface.h"

namespace lumbra {

// 8-bit markup text (the desktop's Western code page) as a QString.
QString MarkupTextToQString(std::string_view text);

// A font whose ascent plus descent is `request.size` pixels, as the markup sizes fonts; a face
// that is not installed falls back to what fontconfig offers for it.
QFont MarkupFont(const FontSpec& request);

QImage ToQImage(const PixelBuffer& pixels);
PixelBuffer FromQImage(const QImage& image);

class QtMarkupSurface : public MarkupSurface {
public:
    explicit QtMarkupSurface(QPainter* painter = nullptr);

    void selectFont(const FontSpec& font) override;
    FontMetrics fontMetrics() override;
    int textWidth(std::string_view text) override;
    void drawText(int x, int y, std::string_view text, Rgb colour, std::optional<Rgb> background) override;
    void setJustification(int extra, int spaces) override;
    void drawLine(int x1, int y1, int x2, int y2, Rgb colour, int width) override;
    void fillRect(const MarkupRect& rect, Rgb colour) override;
    void drawPixels(const PixelBuffer& pixels, const MarkupRect& destination) override;
    std::optional<PixelBuffer> loadImage(const ImageSource& source) override;
    std::optional<std::string> resourceString(int id) override;
    int pixelsPerInch() override;
    int systemIconSize() override;

private:
    QPainter* painter_;
    QFont font_;
    QFontMetrics metrics_{font_};  // of font_, kept because layout measures often
    double wordSpacing_ = 0;
};

}  // namespace lumbra
