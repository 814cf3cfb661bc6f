#pragma once
// `RoundGroupBox`: a group frame with rounded corners and a caption, either cut into the top
// line of the frame or written in a filled bar at the top of a rounded window.
#include <QColor>
#include <QString>
#include <QWidget>

namespace lumbra {

enum class GroupBoxLook { Frame, Window };

class RoundGroupBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCornerRounding = 10;
    static constexpr int kFrameCaptionInset = 10;
    static constexpr int kWindowCaptionInset = 2;

    explicit RoundGroupBox(const QString& caption = {}, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    void setLook(GroupBoxLook look);
    // 0 left, 1 centre, 2 right; anything else is taken as left.
    void setCaptionAlignment(int alignment);

    void setBorderColour(const QColor& colour);
    void setCaptionColour(const QColor& colour);
    void setCaptionBackground(const QColor& colour);
    void setClientBackground(const QColor& colour);

    // Where the caption (with its blank on each side) is written.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString shownCaption() const;
    void paintFrame(QPainter& painter) const;
    void paintWindow(QPainter& painter) const;

    QString caption_;
    GroupBoxLook look_ = GroupBoxLook::Frame;
    int alignment_ = 0;
    QColor border_;
    QColor captionColour_{0x00, 0x00, 0xff};
    QColor captionBackground_;
    QColor clientBackground_;
};

}  // namespace lumbra
