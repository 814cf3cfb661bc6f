#pragma once
// The enable rules of the menu bar by wizard step, and what they currently allow. The
// toolbar asks the same state: a button acts only while its menu command is enabled. The
// workers apply modes at their end while the user-interface thread reads them, so each
// command's state is one atomic flag.
#include <array>
#include <atomic>
#include <cstdint>

#include "app/command.h"
#include "app/view.h"
#include "app/wizard_state.h"

namespace lumbra {

// Waiting: the disk step while the selected drive opens; only the commands that are always
// enabled.
enum class MenuMode : uint8_t { Start = 0, Choosing = 1, ChoosingVolumes = 2, Browse = 3, BackAtStart = 4, Waiting = 5 };

class MenuState {
public:
    // Sets the commands the mode names and remembers them; the others keep their state.
    void Apply(View& view, MenuMode mode, WizardStep step);
    // Live Update, Contents, About and Exit are never changed and always enabled; a command
    // no mode has set yet is disabled.
    bool enabled(Command command) const;
    // The mode applied last.
    MenuMode mode() const { return mode_.load(); }

    // The commands the modes set, in the order they are set.
    static constexpr std::array kModeCommands{
        Command::RecoverSelected, Command::RecoverAll,  Command::SaveSnapshot,     Command::IconsView,
        Command::ListView,        Command::DetailsView, Command::FindFiles,        Command::FileFilters,
        Command::DriveInformation, Command::LoadSnapshot, Command::Settings,    Command::DiskMap,
        Command::ExportFileList,  Command::SelectFromList,
    };

private:
    std::array<std::atomic<bool>, kModeCommands.size()> enabled_{};
    std::atomic<MenuMode> mode_{MenuMode::Start};
};

}  // namespace lumbra
