// The keyboard rules of the main window.
#include "app/wizard_controller.h"

namespace lumbra {

KeyAction WizardController::FilterKey(Key key) {
    WizardState& wizard = session_.wizard;
    const bool browsing = wizard.currentStep() == WizardStep::StepBrowse;
    switch (key) {
        case Key::F1: OpenHelp(); return KeyAction::Consumed;
        case Key::Tab:
            if (wizard.labelEditing == 1) return KeyAction::ToEditField;
            if (!browsing) return KeyAction::Default;
            if (wizard.treeHasFocus == 0) {
                view_.Focus(Element::DirectoryTree);
                wizard.treeHasFocus = 1;
            } else {
                view_.Focus(Element::FileList);
                wizard.treeHasFocus = 0;
            }
            return KeyAction::Consumed;
        case Key::Enter:
            if (wizard.labelEditing == 1) return KeyAction::ToEditField;
            openWithFlag_ = 0;
            if (browsing) OpenSelected();
            return KeyAction::Consumed;
        case Key::Escape: return KeyAction::Consumed;
        case Key::ContextMenu: ShowListMenu(); return KeyAction::Consumed;
        case Key::F2:
            if (browsing && wizard.treeHasFocus == 0 && wizard.labelEditing == 0) BeginRename();
            return KeyAction::Consumed;
        case Key::Other: break;
    }
    return KeyAction::Default;
}

}  // namespace lumbra
