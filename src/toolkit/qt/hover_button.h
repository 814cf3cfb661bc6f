#pragma once
// `HoverButton`: a button drawn from one picture strip. Its frames lie side by side, each one
// button wide: normal, pressed, hovered. While pressed the strip is read one button width to
// the right, while hovered two. Entering the button captures the mouse and starts a 100 ms
// timer that ends the hover once the cursor has left; where the platform cannot grab (Wayland)
// the leave event ends it.
#include <QAbstractButton>
#include <QBasicTimer>
#include <QImage>
#include <QPixmap>

namespace lumbra {

class HoverButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kHoverCheckMs = 100;
    static constexpr int kMaxAddressLength = 260;

    explicit HoverButton(QWidget* parent = nullptr);

    // Sets the strip and resizes the button to one frame; a strip of one frame is the whole
    // picture. The picture's three-dimensional greys take the desktop's colours.
    void setBitmap(const QImage& strip, int frames = 3);
    int frameCount() const { return frames_; }

    // An address for the owner to open; once set, the cursor over the button is a hand.
    void setAddress(const QString& address);
    QString address() const { return address_; }

    bool isHovering() const { return hovering_; }
    // The frame drawn now: 0 normal, 1 pressed, 2 hovered (held inside the strip).
    int currentFrame() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startHover();
    void endHover();

    QPixmap strip_;
    int frames_ = 1;
    QSize frameSize_;
    bool hovering_ = false;
    QBasicTimer hoverTimer_;
    QString address_;
};

// Maps the three classic greys of a picture (dark grey, grey, light grey) to the palette's
// shadow, button face and light colours.
QImage MapThreeDGreys(const QImage& image, const QPalette& palette);

}  // namespace lumbra
