#pragma once
// The save dialog of a recovery snapshot. The file written is not always the name typed (the
// name is upper-cased and gets the snapshot extension), so the question about replacing an
// existing file is asked about the file that will really be written.
#include <QFileDialog>

namespace lumbra {

// The one type entry the snapshot dialogs offer.
inline constexpr const char* kSnapshotFileFilter = "*.qvdx";

class SnapshotSaveDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit SnapshotSaveDialog(QWidget* parent);

    // The file a snapshot saved under `chosen` is written to.
    static QString WrittenPath(const QString& chosen);

public slots:
    void accept() override;
};

}  // namespace lumbra
