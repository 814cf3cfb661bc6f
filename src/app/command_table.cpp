#include "app/command_table.h"

#include <array>

namespace lumbra {

const std::vector<CommandInfo>& CommandTable() {
    using A = CommandAction;
    static const std::vector<CommandInfo> table{
        {Command::RecoverSelected, A::RecoverSelected, "&Recover Selected...", false},
        {Command::RecoverSelectedFromList, A::RecoverSelected, "&Recover Selected...", true},
        {Command::RecoverAll, A::RecoverAll, "Recover &All...", false},
        {Command::RecoverAllFromList, A::RecoverAll, "Recover &All...", true},
        {Command::SaveSnapshot, A::SaveSnapshot, "&Save Recovery Snapshot...", false},
        {Command::LoadSnapshot, A::LoadSnapshot, "&Load Recovery Snapshot...", false},
        {Command::Exit, A::Exit, "E&xit...", false},
        {Command::IconsView, A::IconsView, "Ico&ns", false},
        {Command::IconsViewFromList, A::IconsView, "Ico&ns     ", true},
        {Command::ListView, A::ListView, "&List", false},
        {Command::ListViewFromList, A::ListView, "&List", true},
        {Command::DetailsView, A::DetailsView, "&Details", false},
        {Command::DetailsViewFromList, A::DetailsView, "&Details", true},
        {Command::FindFiles, A::FindFiles, "&Find Files...", false},
        {Command::FindFilesFromList, A::FindFiles, "&Find Files...", true},
        {Command::FileFilters, A::FileFilters, "File Fi&lters...", false},
        {Command::Settings, A::Settings, "Se&ttings...", false},
        {Command::SettingsFromList, A::Settings, "&Settings...", true},
        {Command::DriveInformation, A::DriveInformation, "&Drive Information", false},
        {Command::DiskMap, A::DiskMap, "Disk &Map", false},
        {Command::LiveUpdate, A::LiveUpdate, "Live &Update", false},
        {Command::Contents, A::Contents, "&Contents", false},
        {Command::About, A::About, "&About Corvalt Lumbra Novell...", false},
        {Command::Open, A::Open, "&Open", true},
        {Command::OpenWith, A::OpenWith, "Open &With...", true},
        {Command::Rename, A::Rename, "Re&name", true},
        {Command::Properties, A::Properties, "&Properties...", true},
        {Command::SystemAbout, A::About, "&About Lumbra Novell NSS...", false},
        {Command::ExportFileList, A::ExportFileList, "Export File List...", false},
        {Command::SelectFromList, A::SelectFromList, "Select From List...", false},
    };
    return table;
}

const CommandInfo* FindCommand(Command id) {
    for (const CommandInfo& info : CommandTable())
        if (info.id == id) return &info;
    return nullptr;
}

std::optional<ToolbarButton> ToolbarButtonAt(int button) {
    static const std::array<ToolbarButton, kToolbarButtons> buttons{{
        {Command::RecoverSelected, "Copy the selected file(s) and folder(s) to your computer"},
        {Command::RecoverAll, "Copy all the file(s) and folder(s) to your computer"},
        {Command::SaveSnapshot,
         "Saves the snapshot of scan information, so that later on you need not to scan the disk again"},
        {Command::LoadSnapshot, "Loads the data from previously saved scan information"},
        {Command::FindFiles, "Search the file(s) in the recovered data"},
        {Command::Settings, "Configures the software"},
        {Command::LiveUpdate, "Updates the software with latest changes from internet"},
    }};
    if (button < 1 || button > kToolbarButtons) return std::nullopt;
    return buttons[static_cast<size_t>(button - 1)];
}

}  // namespace lumbra
