#pragma once
// MarkupMessageBox: a modal message box whose message, header and "More" texts are markup,
// drawn over background effects, with extra button sets, countdowns, a remembered
// "Do not show again" answer, Help, Report and an expandable "More" area.
#include <QDialog>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/markup_drawer.h"
#include "toolkit/message_box_params.h"

class QCheckBox;
class QPushButton;
class QTimer;

namespace lumbra {

class MarkupMessageBox : public QDialog {
    Q_OBJECT

public:
    // Shows the box modally and returns the pressed button's identifier (with the flags of
    // the style added), or the remembered answer without showing anything. The box belongs to
    // the modal dialog open, else to the owner, else to the active window: a window it belongs
    // to is what places it, also where the platform gives programs no screen coordinates.
    static uint32_t Show(QWidget* owner, const std::string& text, const std::string& caption, uint32_t style,
                         const MessageBoxParams* params = nullptr);

    // The remembered answer for these parameters, or 0.
    static uint32_t RememberedAnswer(uint32_t style, const MessageBoxParams& params);

    MarkupMessageBox(QWidget* owner, const std::string& text, const std::string& caption, uint32_t style,
                     const MessageBoxParams& params);
    ~MarkupMessageBox() override;

    uint32_t answer() const { return answer_; }
    // The message as given, before it became markup.
    const std::string& text() const { return text_; }
    const std::vector<int>& buttonIds() const { return buttonIds_; }
    QPushButton* button(int id) const;
    QCheckBox* checkBox() const { return checkBox_; }
    bool closeBoxEnabled() const;
    bool expanded() const { return expanded_; }
    // Presses a button as a click would.
    void press(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Area {
        MarkupDrawer drawer;
        MessageBoxBackground background;
        QRect rect;
        MarkupSize size;
        bool present = false;
    };

    void buildButtons();
    void prepareAreas(const std::string& text);
    void layOut();
    void placeButtons(int top, int clientWidth);
    void startCountdowns();
    void tick();
    void refreshCountdownTexts();
    void setButtonsEnabled(bool enabled);
    void finish(uint32_t result);
    void remember(uint32_t result) const;
    void toggleMore();
    void openHelp() const;
    void paintArea(QPainter& painter, Area& area);
    std::vector<Area*> visibleAreas();

    MessageBoxParams params_;
    uint32_t style_;
    std::string text_;
    std::string caption_;
    std::vector<int> buttonIds_;
    std::vector<QPushButton*> buttons_;
    QCheckBox* checkBox_ = nullptr;
    QTimer* timer_ = nullptr;
    Area header_, message_, more_;
    int defaultIndex_ = 0;
    int disabledLeft_ = 0;
    int autoLeft_ = 0;
    bool expanded_ = false;
    bool hasCancel_ = false;
    uint32_t answer_ = 0;
    QSize buttonSize_;
    int collapsedHeight_ = 0;
    QImage windowBackground_;
};

}  // namespace lumbra
