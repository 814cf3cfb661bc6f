#pragma once
// The real main window over the demo disk, with a recording desktop, and the means to answer
// its modal dialogs and menus from the test.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "app/session.h"
#include "app/wizard_controller.h"
#include "gui/main_window.h"
#include "support/fake_desktop.h"
#include "support/nss_image.h"
#include "support/qt/event_wait.h"

namespace lumbra::test {

// Collects the warnings Qt prints while it lives.
class QtWarningLog {
public:
    QtWarningLog();
    ~QtWarningLog();
    const std::vector<std::string>& warnings() const;
};

// The demo disk, built once per test program and written to a temporary image file.
const NssImage& DemoImage();
const std::string& DemoImagePath();

// Answers the next modal dialogs and popup menus in order: each handler gets the next modal
// window (or popup) that appears.
class ModalAnswerer : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;
    ModalAnswerer();
    void expect(Handler handler) { handlers_.push_back(std::move(handler)); }
    bool allAnswered() const { return handlers_.empty(); }
    // Captions and texts of the message boxes answered so far.
    const std::vector<std::string>& captions() const { return captions_; }
    const std::vector<std::string>& texts() const { return texts_; }
    // Handlers that press a message box's button and remember its text.
    Handler pressYes();
    Handler pressNo();
    Handler pressOk();

private:
    void poll();
    Handler press(int button);

    QTimer timer_;
    std::deque<Handler> handlers_;
    std::vector<std::string> captions_;
    std::vector<std::string> texts_;
};

// Answers a file dialog of this object name by choosing `path` in it.
ModalAnswerer::Handler ChooseFile(const QString& objectName, const std::string& path);

struct MainWindowHarness {
    MainWindowHarness();
    ~MainWindowHarness();

    // Clicks the label of the item with this text in the tree of the kind.
    void clickTreeItem(TreeKind kind, const QString& text);
    void clickNext();
    void clickBack();
    void chooseCommand(Command command);
    // Makes the main window the active one; false when it did not become active.
    bool activate();
    // Activates the window and puts the keyboard focus in the file list's details view.
    bool focusFileList();
    // Waits until the wizard stands in `step` with no worker running.
    bool waitForStep(WizardStep step, int milliseconds = kEventLimitMs);
    QStringList treeTexts(TreeKind kind) const;
    int listRows() const;
    QString listCell(int row, int column) const;
    // The first list row whose "Type" is (or is not) a folder's; -1 when none.
    int firstRow(bool folder) const;

    Session session{DefaultAccessMode()};
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<WizardController> wizard;
    ModalAnswerer answers;
};

// From the pool step: chooses the pool, the recovery basis and the volume and waits for the
// mount to show the browse step.
void WalkToBrowse(MainWindowHarness& h, const QString& pool, bool poolBased, const QString& volume);

}  // namespace lumbra::test
