#pragma once
// What each command identifier does, its menu text, and which toolbar button stands for it.
#include <optional>
#include <string_view>
#include <vector>

#include "app/command.h"

namespace lumbra {

enum class CommandAction {
    RecoverSelected,
    RecoverAll,
    SaveSnapshot,
    LoadSnapshot,
    Exit,
    IconsView,
    ListView,
    DetailsView,
    FindFiles,
    FileFilters,
    Settings,
    DriveInformation,
    DiskMap,
    LiveUpdate,
    Contents,
    About,
    Open,
    OpenWith,
    Rename,
    Properties,
    ExportFileList,
    SelectFromList,
};

struct CommandInfo {
    Command id;
    CommandAction action;
    std::string_view text;
    // True for the identifiers of the file list's right-click menu, which the menu modes do
    // not govern: that menu appears only over a marked row of the browse step.
    bool fromListMenu;
};

const std::vector<CommandInfo>& CommandTable();
const CommandInfo* FindCommand(Command id);

struct ToolbarButton {
    Command command;
    std::string_view tooltip;
};

constexpr int kToolbarButtons = 7;
// Button 1 to 7, left to right; nullopt for any other number.
std::optional<ToolbarButton> ToolbarButtonAt(int button);

}  // namespace lumbra
