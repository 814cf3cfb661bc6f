#include "toolkit/qt/group_radio_button.h"

#include <QCoreApplication>

namespace lumbra {

namespace {

uint64_t NextCheckStamp() {
    static uint64_t stamp = 0;
    return ++stamp;
}

class ClearGroupEvent : public QEvent {
public:
    explicit ClearGroupEvent(uint64_t senderCheckedAt)
        : QEvent(GroupRadioButton::kClearEvent), senderCheckedAt_(senderCheckedAt) {}
    uint64_t senderCheckedAt() const { return senderCheckedAt_; }

private:
    uint64_t senderCheckedAt_;
};

}  // namespace

GroupRadioButton::GroupRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    // The group is cleared by our own message, not by the toolkit's exclusive handling.
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (!checked) return;
        checkedAt_ = NextCheckStamp();
        clearOthers();
    });
}

void GroupRadioButton::clearOthers() {
    QWidget* group = parentWidget();
    if (!group) return;
    for (GroupRadioButton* other : group->findChildren<GroupRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (other != this) QCoreApplication::postEvent(other, new ClearGroupEvent(checkedAt_));
    }
}

void GroupRadioButton::nextCheckState() {
    if (!isChecked()) setChecked(true);
}

bool GroupRadioButton::event(QEvent* event) {
    if (event->type() == kClearEvent) {
        if (static_cast<ClearGroupEvent*>(event)->senderCheckedAt() > checkedAt_) setChecked(false);
        return true;
    }
    return QRadioButton::event(event);
}

}  // namespace lumbra
