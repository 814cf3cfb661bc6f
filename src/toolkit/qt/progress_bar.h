#pragma once
// A progress bar drawn by the program: the filled share of its range from the left (or from
// the bottom when vertical), and its caption or percentage written across the middle in one
// colour over the filled part and another over the empty part.
#include <QColor>
#include <QString>
#include <QWidget>

namespace lumbra {

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setRange(int lower, int upper);
    void setPosition(int position);
    int position() const { return position_; }
    int lower() const { return lower_; }
    int upper() const { return upper_; }

    void setShowText(bool show);
    // A non-empty caption replaces the percentage.
    void setCaption(const QString& caption);
    void setVertical(bool vertical);

    void setBarColour(const QColor& colour);
    void setBackgroundColour(const QColor& colour);
    void setTextColours(const QColor& overFilled, const QColor& overEmpty);

    // What the bar writes now.
    QString text() const;
    QColor barColour() const { return bar_; }
    QColor backgroundColour() const { return background_; }
    QColor textOverFilled() const { return textOverFilled_; }
    QColor textOverEmpty() const { return textOverEmpty_; }
    // The filled part inside the frame, in widget coordinates.
    QRect filledRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect inner() const;

    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    bool showText_ = true;
    bool vertical_ = false;
    QString caption_;
    QColor bar_;
    QColor background_;
    QColor textOverFilled_;
    QColor textOverEmpty_;
};

}  // namespace lumbra
