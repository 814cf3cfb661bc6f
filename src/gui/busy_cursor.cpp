#include "gui/busy_cursor.h"

#include <QApplication>
#include <QTimer>

namespace lumbra {

namespace {
bool busyShown = false;
}  // namespace

void ShowBusyUntilIdle() {
    if (busyShown) return;
    busyShown = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, qApp, [] {
        busyShown = false;
        QApplication::restoreOverrideCursor();
    });
}

}  // namespace lumbra
