#pragma once
// A radio button of an automatic group: once checked, it posts a message to every other such
// button of its group (the buttons sharing its parent) so that they clear themselves.
#include <QEvent>
#include <QRadioButton>
#include <cstdint>

namespace lumbra {

class GroupRadioButton : public QRadioButton {
    Q_OBJECT
public:
    static constexpr QEvent::Type kClearEvent = static_cast<QEvent::Type>(1280);

    explicit GroupRadioButton(const QString& text = {}, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    // A click checks the button but never unchecks it.
    void nextCheckState() override;

private:
    void clearOthers();

    // When this button was last checked, in the order of all checks of the program. A clear
    // posted by a button checked before this one arrives late and is ignored, so that two
    // quick checks never leave the group empty.
    uint64_t checkedAt_ = 0;
};

}  // namespace lumbra
