// The main window's side of the disk map: the window, opened once and raised again.
#include "gui/disk_map_window.h"
#include "gui/file_list_view.h"
#include "gui/main_window.h"

namespace lumbra {

DiskMapWindow* MainWindow::diskMapWindow() const { return static_cast<DiskMapWindow*>(diskMap_.data()); }

void MainWindow::OpenDiskMap() {
    if (!controller_) return;
    if (!diskMap_) diskMap_ = new DiskMapWindow(session_, *controller_, this);
    diskMap_->show();
    diskMap_->raise();
    diskMap_->activateWindow();
}

}  // namespace lumbra
