#pragma once
// Command identifiers of the menu bar, the file list's right-click menu and the system menu.
// One action may have two identifiers (menu bar and right-click menu).
#include <cstdint>

namespace lumbra {

enum class Command : uint16_t {
    RecoverSelected = 32806,
    RecoverSelectedFromList = 32825,
    RecoverAll = 32807,
    RecoverAllFromList = 32826,
    SaveSnapshot = 32772,
    LoadSnapshot = 32773,
    Exit = 32774,
    IconsView = 32808,
    IconsViewFromList = 32819,
    ListView = 59410,
    ListViewFromList = 32820,
    DetailsView = 59411,
    DetailsViewFromList = 32837,
    FindFiles = 32813,
    FindFilesFromList = 32836,
    FileFilters = 32814,
    Settings = 32815,
    SettingsFromList = 32828,
    DriveInformation = 32840,
    LiveUpdate = 32842,
    Contents = 32816,
    About = 32817,
    Open = 32827,
    OpenWith = 32829,
    Rename = 32839,
    Properties = 32830,
    DiskMap = 32850,
    SystemAbout = 16,
    ExportFileList = 32861,
    SelectFromList = 32862,
};

}  // namespace lumbra
