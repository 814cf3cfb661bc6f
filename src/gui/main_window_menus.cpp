#include "gui/main_window_menus.h"

#include <QMenuBar>
#include <vector>

#include "app/command_table.h"
#include "app/wizard_controller.h"
#include "gui/busy_cursor.h"
#include "gui/latin1.h"
#include "toolkit/qt/pictures.h"
#include "toolkit/qt/bitmap_menu.h"

namespace lumbra {

namespace {

// One menu line: a command with its picture, or a separator (no command).
struct MenuLine {
    std::optional<Command> command;
    const char* picture = nullptr;
};

const MenuLine kRule{};

struct Popup {
    const char* title;
    std::vector<MenuLine> lines;
};

const std::vector<Popup>& MenuBarPopups() {
    using C = Command;
    static const std::vector<Popup> popups{
        {"&Recovery",
         {{C::RecoverSelected, "menu_recover_selected"}, {C::RecoverAll, "menu_recover_all"}, kRule,
          {C::ExportFileList, "menu_save_snapshot"}, {C::SelectFromList, "menu_load_snapshot"}, kRule,
          {C::SaveSnapshot, "menu_save_snapshot"}, {C::LoadSnapshot, "menu_load_snapshot"}, kRule,
          {C::Exit, "menu_exit"}}},
        {"&View", {{C::IconsView, "menu_icons"}, {C::ListView, "menu_list"}, {C::DetailsView, "menu_details"}}},
        {"&Tools",
         {{C::FindFiles, "menu_find_files"}, {C::FileFilters, "menu_file_filters"}, {C::Settings, "menu_settings"},
          kRule, {C::DriveInformation, "menu_drive_information"}, {C::DiskMap, "menu_drive_information"}, kRule,
          {C::LiveUpdate, "menu_live_update"}}},
        {"&Help", {{C::Contents, "menu_contents"}, {C::About, "menu_about"}}},
    };
    return popups;
}

QString CommandText(Command command) {
    const CommandInfo* info = FindCommand(command);
    return info ? Latin1(info->text) : QString();
}

void AppendLines(BitmapMenu& menu, const std::vector<MenuLine>& lines) {
    for (const MenuLine& line : lines) {
        if (!line.command) {
            menu.appendSeparator();
            continue;
        }
        menu.appendItem(CommandText(*line.command), static_cast<int>(*line.command), Picture(line.picture));
    }
}

}  // namespace

void BuildMenuBar(QMenuBar& bar) {
    for (const Popup& popup : MenuBarPopups()) {
        auto* menu = new BitmapMenu(&bar);
        menu->setTitle(popup.title);
        menu->setObjectName(QString(popup.title).remove('&') + "Menu");
        AppendLines(*menu, popup.lines);
        bar.addMenu(menu);
    }
}

void ConnectMenuBar(QMenuBar& bar, WizardController& wizard) {
    for (BitmapMenu* menu : bar.findChildren<BitmapMenu*>())
        QObject::connect(menu, &BitmapMenu::commandChosen, &bar,
                         [&wizard](int id) {
                             ShowBusyUntilIdle();
                             wizard.OnCommand(static_cast<Command>(id));
                         });
}

void SetMenuCommandEnabled(QMenuBar& bar, int commandId, bool enabled) {
    for (BitmapMenu* menu : bar.findChildren<BitmapMenu*>())
        if (QAction* action = menu->actionOfCommand(commandId)) action->setEnabled(enabled);
}

BitmapMenu* BuildListMenu(QWidget* parent, bool openWithEnabled) {
    using C = Command;
    auto* menu = new BitmapMenu(parent);
    menu->setObjectName("ListMenu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    AppendLines(*menu, {{C::Open, "menu_load_snapshot"}, {C::OpenWith, "menu_load_snapshot"}});
    menu->actionOfCommand(static_cast<int>(C::OpenWith))->setEnabled(openWithEnabled);
    AppendLines(*menu, {kRule, {C::RecoverSelectedFromList, "menu_recover_selected"},
                        {C::RecoverAllFromList, "menu_recover_all"}, kRule});
    BitmapMenu* view = menu->appendPopup("&View");
    AppendLines(*view, {{C::IconsViewFromList, "menu_icons"}, {C::ListViewFromList, "menu_list"},
                        {C::DetailsViewFromList, "menu_details"}});
    AppendLines(*menu, {kRule, {C::FindFilesFromList, "menu_find_files"}, kRule, {C::Rename, "menu_file_filters"}, kRule,
                        {C::SettingsFromList, "menu_settings"}, kRule, {C::Properties, "menu_drive_information"}});
    return menu;
}

}  // namespace lumbra
