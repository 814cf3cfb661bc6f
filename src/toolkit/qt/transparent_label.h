#pragma once
// `TransparentLabel`: text drawn straight onto whatever lies behind it (the parent's
// background picture shows through), with no background of its own.
#include <QColor>
#include <QString>
#include <QWidget>

namespace lumbra {

class TransparentLabel : public QWidget {
    Q_OBJECT
public:
    explicit TransparentLabel(const QString& text = {}, QWidget* parent = nullptr);

    QString text() const { return text_; }
    // Repaints the parent under the label too, so the old text leaves no trace.
    void setText(const QString& text);
    void setTextColour(const QColor& colour);
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace lumbra
