#pragma once
// The start of the desktop program: the main window shows first, then the wizard lists the
// drives, so that every message of the start opens over the window it belongs to.
#include <string>

#include "gui/desktop_command_line.h"

namespace lumbra {

class MainWindow;
class WizardController;

// False when the start ended the program (the wizard's fatal message was shown).
bool StartDesktop(MainWindow& window, WizardController& wizard, const DesktopOptions& options,
                  const std::string& libraryFolder);

}  // namespace lumbra
