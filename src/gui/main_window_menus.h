#pragma once
// The main window's menus: the menu bar of four picture menus, and the file list's
// right-click menu.
class QMenuBar;
class QWidget;

namespace lumbra {

class WizardController;
class BitmapMenu;

void BuildMenuBar(QMenuBar& bar);
void ConnectMenuBar(QMenuBar& bar, WizardController& wizard);
// Greys or enables a command of the menu bar.
void SetMenuCommandEnabled(QMenuBar& bar, int commandId, bool enabled);

// The right-click menu of the file list, built anew each time it opens.
BitmapMenu* BuildListMenu(QWidget* parent, bool openWithEnabled);

}  // namespace lumbra
