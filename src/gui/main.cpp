// lumbra-nss: the desktop application.
#include <QApplication>

#include "app/session.h"
#include "app/wizard_controller.h"
#include "gui/desktop_command_line.h"
#include "gui/desktop_start.h"
#include "gui/main_window.h"
#include "gui/termination_signals.h"
#include "platform/application_directory.h"
#include "platform/qt/qt_desktop.h"
#include "toolkit/qt/bundled_fonts.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const auto parsed = lumbra::ParseDesktopCommandLine(arguments);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    const lumbra::DesktopOptions& options = std::get<lumbra::DesktopOptions>(parsed);
    QApplication app(argc, argv);
    QApplication::setApplicationName("lumbra-nss");
    lumbra::UseBundledFonts();
    lumbra::Session session(options.mode);
    // Caught before the private folder exists; acted on only once the event loop runs, when the
    // desktop below is in place. A worker still running is not waited for, as at the end below.
    lumbra::QtDesktop* desktopToEnd = nullptr;
    lumbra::EndOnTerminationSignals([&desktopToEnd](int number) {
        if (desktopToEnd) desktopToEnd->EndProcess(128 + number);
    });
    lumbra::QtDesktop desktop;
    desktopToEnd = &desktop;
    lumbra::MainWindow window(session, desktop);
    desktop.setDialogParent(&window);
    lumbra::WizardController wizard(session, window, desktop);
    window.attach(wizard);
    if (!lumbra::StartDesktop(window, wizard, options, lumbra::ExecutableDirectory())) return 0;
    for (const std::string& warning : session.disk.rescueMapWarnings())
        std::fprintf(stderr, "lumbra-nss: warning: %s\n", warning.c_str());
    const int code = QApplication::exec();
    // A worker still running at the end is not waited for.
    if (session.wizard.busy()) desktop.EndProcess(code);
    return code;
}
