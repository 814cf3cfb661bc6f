#pragma once
// "Find File(s)": searches the recovered file list by name on a worker of its own. Stop
// pauses the search while it asks; the window closes only while no search runs.
#include <cstdint>
#include <optional>

#include "gui/file_type_icons.h"
#include "gui/gui_thread.h"
#include "gui/picture_dialog.h"
#include "recovery/find_search.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lumbra {

class RecoveredTree;

class FindWindow : public PictureDialog, public FindResultSink {
    Q_OBJECT
public:
    FindWindow(const RecoveredTree& tree, QWidget* parent);
    ~FindWindow() override;

    void rowFound(const FindRow& row, uint32_t filesFound) override;
    void searchEnded(bool cancelled) override;

    bool searching() const { return worker_.running(); }
    // The itemNumber of the row whose double-click closed the window; nullopt before one.
    std::optional<uint64_t> chosenFile() const { return chosen_; }

protected:
    // Esc and the close box: only while no search runs.
    void reject() override;

private:
    void startSearch();
    void stopSearch();
    // Cancels the search and waits for its worker to end, serving the calls it still makes.
    void endWorker();
    void showIdle();
    // A double-click on a row: the search ends and the window closes on that file.
    void chooseRow(QTreeWidgetItem* item);

    const RecoveredTree& tree_;
    FindSearchWorker worker_;
    QLineEdit* search_;
    QTreeWidget* results_;
    QPushButton* start_;
    QPushButton* stop_;
    QLabel* lastFile_;
    QLabel* filesFound_;
    FileTypeIcons icons_;
    std::optional<uint64_t> chosen_;
    mutable OrderedCalls calls_{this};
};

}  // namespace lumbra
