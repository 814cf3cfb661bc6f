#pragma once
// The "Disk Map" window: the disk map canvas, the files of the cell last clicked or of the sector
// typed, and saving
// the picture as PNG. It follows the session on a timer, a few times a second at most, so that
// a running scan, mount or copy is not slowed by it: the picture is made again when the wizard
// has moved on or the running worker has offered something new (the pools a scan found, the
// volume tree blocks a mount queued), and otherwise only the damage, the sectors never read and
// the position the worker reads are redrawn. Each step asks the worker for its next offer.
// "Save Rescue Plan..." writes a ddrescue domain mapfile of the metadata and files pictured.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/session.h"
#include "gui/disk_map_canvas.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lumbra {

class WizardController;

class DiskMapWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRedrawMilliseconds = 400;

    DiskMapWindow(Session& session, WizardController& wizard, QWidget* parent);

    DiskMapCanvas& canvas() const { return *canvas_; }
    QListWidget& cellFiles() const { return *cellFiles_; }
    QLineEdit& sectorField() const { return *sectorField_; }
    // One step of the timer: what it does on its own every kRedrawMilliseconds.
    void follow();
    QTimer& timer() { return timer_; }
    // How many times the picture was made.
    int rebuilds() const { return rebuilds_; }
    // Writes the canvas as PNG; false (with the reason) when it cannot be written there.
    bool savePng(const QString& path, QString* why = nullptr);
    // Asks which sectors the rescue plan takes and where it goes, then writes it.
    void askAndSaveRescuePlan();

private:
    // What the picture was made from; a change means it is made again.
    struct Stage {
        WizardStep step = WizardStep::StepStartup;
        bool busy = false;
        const SectorReader* reader = nullptr;
        size_t pools = 0;
        size_t files = 0;
        uint64_t learned = 0;  // the version of what the running worker offered
        bool operator==(const Stage&) const = default;
    };
    Stage currentStage() const;
    // The session's reader, or null while a worker is still handing one over.
    const SectorReader* settledReader() const;
    void rebuild();
    void listCell(uint64_t first, uint64_t count);
    // The sector typed in the field: its cell selected and listed, or why it is none.
    void goToSector();
    void fileChosen(QListWidgetItem* item);
    void askAndSavePng();

    Session& session_;
    WizardController& wizard_;
    DiskMapCanvas* canvas_;
    QListWidget* cellFiles_;
    QLineEdit* sectorField_;
    QPushButton* save_;
    QPushButton* savePlan_;
    QTimer timer_;
    std::shared_ptr<DiskPicture> picture_;
    Stage stage_;
    bool built_ = false;
    int rebuilds_ = 0;
    uint64_t damageSectors_ = 0;
    uint64_t readSectors_ = 0;
    uint64_t scanSector_ = WizardState::kNoScanSector;
    const ItemRecord* outlined_ = nullptr;
};

}  // namespace lumbra
