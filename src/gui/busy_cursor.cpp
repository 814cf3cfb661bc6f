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
    // Through a posted call to a timer: the calls the step posted (the list's rows) run first.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            QTimer::singleShot(0, qApp, [] {
                busyShown = false;
                QApplication::restoreOverrideCursor();
            });
        },
        Qt::QueuedConnection);
}

}  // namespace lumbra
