#include "gui/desktop_start.h"

#include "app/recovery_message.h"
#include "app/wizard_controller.h"
#include "gui/main_window.h"

namespace lumbra {

bool StartDesktop(MainWindow& window, WizardController& wizard, const DesktopOptions& options,
                  const std::string& libraryFolder) {
    window.show();
    if (!wizard.StartUp(options.sources, libraryFolder)) return false;
    for (const std::string& problem : options.problems) window.ShowMessage(MessageKind::Error, MarkupLiteral(problem));
    return true;
}

}  // namespace lumbra
