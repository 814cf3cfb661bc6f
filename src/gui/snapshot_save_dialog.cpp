#include "gui/snapshot_save_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "snapshot/snapshot_writer.h"

namespace lumbra {

SnapshotSaveDialog::SnapshotSaveDialog(QWidget* parent)
    : QFileDialog(parent, "Save Recovery Snapshot", QString(), kSnapshotFileFilter) {
    setObjectName("SnapshotSaveDialog");
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
}

QString SnapshotSaveDialog::WrittenPath(const QString& chosen) {
    return QFile::decodeName(QByteArray::fromStdString(SnapshotSavePath(QFile::encodeName(chosen).toStdString())));
}

void SnapshotSaveDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
        const QFileInfo written(WrittenPath(chosen.last()));
        if (written.isFile()) {
            const QString question = QString("%1 already exists.\nDo you want to replace it?").arg(written.fileName());
            if (QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) != QMessageBox::Yes)
                return;
        }
    }
    QFileDialog::accept();
}

}  // namespace lumbra
