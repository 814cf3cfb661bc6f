#pragma once
// Dialog units of the window layouts mapped to pixels from the dialog font: x * average
// character width / 4, y * character height / 8.
#include <QFont>
#include <QRect>

namespace lumbra {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const { return units * baseX_ / 4; }
    int y(int units) const { return units * baseY_ / 8; }
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const { return {x(width), y(height)}; }

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

// The font every window of the application lays itself out with.
QFont DialogFont();

}  // namespace lumbra
