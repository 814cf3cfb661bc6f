#pragma once
// The pictures beside menu commands: cut from one toolbar strip, the transparent colour made
// see-through, each with the washed-out and the one-colour copy that the flat look draws.
#include <QColor>
#include <QImage>
#include <QSize>
#include <vector>

namespace lumbra {

// Every pixel that is not see-through, lightened towards white by `percent`.
QImage WashedOut(const QImage& image, int percent);
// The image's shape in a single colour; see-through pixels stay see-through.
QImage Silhouette(const QImage& image, const QColor& colour);

class MenuImageList {
public:
    struct Entry {
        QImage normal;
        QImage washed;     // unselected items of the flat look
        QImage shadow;     // the raised image's shadow in the flat look
    };

    QSize imageSize() const { return imageSize_; }
    void setImageSize(QSize size) { imageSize_ = size; }
    QColor transparentColour() const { return transparent_; }
    void setTransparentColour(const QColor& colour) { transparent_ = colour; }

    // Cuts `strip` into images of the image size, left to right; a partial image at the
    // right end is dropped. Returns the index of the first image added.
    int addToolBar(const QImage& strip);
    int add(const QImage& image);

    int count() const { return static_cast<int>(entries_.size()); }
    const Entry* entry(int index) const;

private:
    QSize imageSize_{16, 15};
    QColor transparent_{0xc0, 0xc0, 0xc0};
    std::vector<Entry> entries_;
};

}  // namespace lumbra
