#include "app/menu_mode.h"

namespace lumbra {

namespace {

// Loading and the settings have rules of their own; every other command a mode sets exists
// only while browsing a recovered tree.
bool Allowed(Command command, MenuMode mode, WizardStep step) {
    switch (command) {
        case Command::LoadSnapshot: return mode == MenuMode::Start || mode == MenuMode::BackAtStart;
        case Command::Settings:
            return mode != MenuMode::Waiting && (mode != MenuMode::Start || step == WizardStep::StepDisks);
        // The disk map has something to show once a drive is open: in the pool, volume and
        // browse steps, and during the scan that fills the pool step.
        case Command::DiskMap: return mode == MenuMode::Choosing || mode == MenuMode::ChoosingVolumes || mode == MenuMode::Browse;
        default: return mode == MenuMode::Browse;
    }
}

size_t SlotOf(Command command) {
    size_t slot = 0;
    while (slot < MenuState::kModeCommands.size() && MenuState::kModeCommands[slot] != command) ++slot;
    return slot;
}

}  // namespace

void MenuState::Apply(View& view, MenuMode mode, WizardStep step) {
    mode_ = mode;
    for (size_t slot = 0; slot < kModeCommands.size(); ++slot) {
        const bool on = Allowed(kModeCommands[slot], mode, step);
        enabled_[slot] = on;
        view.SetCommandEnabled(kModeCommands[slot], on);
    }
}

bool MenuState::enabled(Command command) const {
    switch (command) {
        case Command::Exit:
        case Command::LiveUpdate:
        case Command::Contents:
        case Command::About:
        case Command::SystemAbout: return true;
        default: break;
    }
    const size_t slot = SlotOf(command);
    return slot < enabled_.size() && enabled_[slot].load();
}

}  // namespace lumbra
