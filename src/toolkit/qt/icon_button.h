#pragma once
// A push button with a picture beside or above its caption, separate pictures and colours for
// the normal, hovered and focused states, a flat or raised look, and three optional roles:
// check box, menu button and link button. It may play a sound when entered and when clicked.
#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

class QMenu;

namespace lumbra {

class SoundPlayer;

class IconButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class State { Normal = 0, Hover = 1, Focus = 2 };
    enum class ImagePlace { Beside, Above };
    // How the normal picture is made when only the hovered one is given.
    enum class AutoNormal { Grey, Darken };

    explicit IconButton(const QString& caption = {}, QWidget* parent = nullptr);

    void setImages(const QImage& hover, const QImage& normal);
    void setImages(const QImage& hover, AutoNormal derive);
    QImage imageFor(bool hovered) const { return hovered ? hoverImage_ : normalImage_; }
    void setImagePlace(ImagePlace place);

    void setColours(State state, const QColor& background, const QColor& text);
    QColor background(State state) const { return backgrounds_[static_cast<size_t>(state)]; }
    QColor textColour(State state) const { return texts_[static_cast<size_t>(state)]; }

    void setFlat(bool flat);
    // The parent shows through instead of the background colour.
    void setTransparentBackground(bool transparent);
    // Each click toggles the pressed look.
    void setCheckBoxRole(bool on);
    // A click opens `menu` below the button; the chosen command is posted as commandPosted.
    void setMenuRole(QMenu* menu);
    // A click opens `address` through the opener (the desktop's browser by default).
    void setLinkRole(const QString& address, std::function<void(const QString&)> opener = {});
    void setSounds(SoundPlayer* player, const std::string& enterSound, const std::string& clickSound);

    bool isHovering() const { return hovering_; }
    State currentState() const;
    QSize sizeHint() const override;

signals:
    // Sent before the menu opens, so the owner can adjust it.
    void menuAboutToOpen(QMenu* menu);
    // The command chosen in the menu, delivered through the event loop.
    void commandPosted(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void onClicked();
    void openMenu();
    void paintFrame(QPainter& painter) const;

    QImage hoverImage_;
    QImage normalImage_;
    ImagePlace place_ = ImagePlace::Beside;
    std::array<QColor, 3> backgrounds_;
    std::array<QColor, 3> texts_;
    bool flat_ = true;
    bool transparent_ = false;
    bool hovering_ = false;
    QPointer<QMenu> menu_;
    QString address_;
    std::function<void(const QString&)> opener_;
    SoundPlayer* sounds_ = nullptr;
    std::string enterSound_;
    std::string clickSound_;
};

// The picture in grey, or darkened, for the normal state of an icon button.
QImage GreyImage(const QImage& image);
QImage DarkenedImage(const QImage& image);

}  // namespace lumbra
