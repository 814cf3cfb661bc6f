#include "app/menu_mode.h"

namespace lumbra {

namespace {

// The commands that exist only while browsing a recovered tree.
constexpr Command kBrowseCommands[] = {
    Command::RecoverSelected, Command::RecoverAll, Command::SaveSnapshot,     Command::IconsView,
    Command::ListView,        Command::DetailsView, Command::FindFiles,      Command::FileFilters,
    Command::DriveInformation,
};

bool loadAllowed(MenuMode mode) { return mode == MenuMode::Start || mode == MenuMode::BackAtStart; }

bool settingsAllowed(MenuMode mode, WizardStep step) {
    return mode != MenuMode::Start || step == WizardStep::StepDisks;
}

}  // namespace

void MenuState::Apply(View& view, MenuMode mode, WizardStep step) {
    auto set = [&](Command command, bool on) {
        enabled_[command] = on;
        view.SetCommandEnabled(command, on);
    };
    for (Command command : kBrowseCommands) set(command, mode == MenuMode::Browse);
    set(Command::LoadSnapshot, loadAllowed(mode));
    set(Command::Settings, settingsAllowed(mode, step));
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
    auto found = enabled_.find(command);
    return found != enabled_.end() && found->second;
}

}  // namespace lumbra
