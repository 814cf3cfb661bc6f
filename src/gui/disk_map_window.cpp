#include "gui/disk_map_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/disk_map_facts.h"
#include "app/session_rescue_plan.h"
#include "app/wizard_controller.h"
#include "disk/number_text.h"
#include "gui/file_dialog_run.h"
#include "gui/latin1.h"
#include "gui/rescue_plan_dialog.h"
#include "picture/picture_legend.h"
#include "recovery/folder_path.h"
#include "toolkit/qt/app_messages.h"

namespace lumbra {

DiskMapWindow::DiskMapWindow(Session& session, WizardController& wizard, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), wizard_(wizard) {
    setObjectName("DiskMapWindow");
    setWindowTitle("Disk Map");
    canvas_ = new DiskMapCanvas(this);
    cellFiles_ = new QListWidget(this);
    cellFiles_->setObjectName("DiskMapCellFiles");
    cellFiles_->setMinimumWidth(300);
    save_ = new QPushButton("Save as &PNG...", this);
    save_->setObjectName("DiskMapSave");
    sectorField_ = new QLineEdit(this);
    sectorField_->setObjectName("DiskMapSectorField");
    sectorField_->setPlaceholderText("decimal, or hexadecimal after 0x");
    sectorField_->setClearButtonEnabled(true);
    auto* sectorLabel = new QLabel("&Sector:", this);
    sectorLabel->setBuddy(sectorField_);
    auto* sectorRow = new QHBoxLayout;
    sectorRow->addWidget(sectorLabel);
    sectorRow->addWidget(sectorField_, 1);
    auto* side = new QVBoxLayout;
    side->addLayout(sectorRow);
    side->addWidget(new QLabel("Files and metadata in the cell chosen:", this));
    side->addWidget(cellFiles_, 1);
    savePlan_ = new QPushButton("Save Rescue P&lan...", this);
    savePlan_->setObjectName("DiskMapSavePlan");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(savePlan_);
    buttons->addWidget(save_);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(canvas_, 0, Qt::AlignTop);
    layout->addLayout(side, 1);
    connect(canvas_, &DiskMapCanvas::cellClicked, this, &DiskMapWindow::listCell);
    connect(sectorField_, &QLineEdit::returnPressed, this, &DiskMapWindow::goToSector);
    connect(cellFiles_, &QListWidget::itemClicked, this, &DiskMapWindow::fileChosen);
    connect(cellFiles_, &QListWidget::itemActivated, this, &DiskMapWindow::fileChosen);
    connect(save_, &QPushButton::clicked, this, &DiskMapWindow::askAndSavePng);
    connect(savePlan_, &QPushButton::clicked, this, &DiskMapWindow::askAndSaveRescuePlan);
    connect(&timer_, &QTimer::timeout, this, &DiskMapWindow::follow);
    timer_.start(kRedrawMilliseconds);
    follow();
}

DiskMapWindow::Stage DiskMapWindow::currentStage() const {
    const bool busy = session_.wizard.busy();
    // Nothing a worker writes is counted while it runs: only the version of what it offered.
    return {session_.wizard.currentStep(), busy, settledReader(), busy ? 0 : session_.pools.count(),
            busy ? 0 : session_.records.files().size(), busy ? session_.live.version() : 0};
}

const SectorReader* DiskMapWindow::settledReader() const {
    return session_.wizard.openingDrive ? nullptr : session_.reader.get();
}

void DiskMapWindow::rebuild() {
    ++rebuilds_;
    DiskFacts facts = SessionDiskFacts(session_);
    picture_ = std::make_shared<DiskPicture>(LayDiskOut(facts));
    damageSectors_ = facts.damage ? facts.damage->sectorTotal() : 0;
    readSectors_ = facts.coverage ? facts.coverage->readTotal() : 0;
    const auto& drives = session_.disk.driveTable().rows;
    const QString path = session_.wizard.selectedDrive < drives.size()
                             ? QString::fromStdString(drives[session_.wizard.selectedDrive].path)
                             : QString();
    canvas_->setPicture(picture_, facts.tree, "Disk " + path + ": " + QString::fromStdString(SizeText(picture_->diskSectors())));
    cellFiles_->clear();
    outlined_ = nullptr;
    canvas_->setOutline({});
}

void DiskMapWindow::follow() {
    const Stage stage = currentStage();
    // While a scan or mount runs, the tables and records are the worker's: the picture then
    // holds what the worker offered besides the damage and the position it reads, and names
    // no file.
    if (!built_ || stage != stage_) {
        rebuild();
        built_ = true;
    }
    stage_ = stage;
    bool changed = false;
    if (const SectorReader* reader = stage.reader) {
        const DamageMap* damage = reader->damageMap();
        const ReadCoverage* coverage = reader->readCoverage();
        const uint64_t damageSectors = damage ? damage->sectorTotal() : 0;
        const uint64_t readSectors = coverage ? coverage->readTotal() : 0;
        if (damageSectors != damageSectors_ || readSectors != readSectors_) {
            damageSectors_ = damageSectors;
            readSectors_ = readSectors;
            picture_->setReads(damage, coverage);
            changed = true;
        }
    }
    const uint64_t scan = stage.busy ? session_.wizard.scanSector.load() : WizardState::kNoScanSector;
    if (scan != scanSector_) {
        scanSector_ = scan;
        picture_->setScanPosition(scan == WizardState::kNoScanSector ? std::nullopt : std::optional<uint64_t>(scan));
        changed = true;
    }
    if (changed) canvas_->refreshCells();
    if (stage.busy) session_.live.ask();
    const ItemRecord* marked = stage.busy ? nullptr : wizard_.MarkedFile();
    if (marked != outlined_) {
        outlined_ = marked;
        canvas_->setOutline(marked ? FileSectorRuns(session_.selectedPool, picture_->diskSectors(), *marked)
                                   : std::vector<SectorRange>());
    }
}

void DiskMapWindow::listCell(uint64_t first, uint64_t count) {
    cellFiles_->clear();
    const DiskPicture& picture = *canvas_->picture();
    for (const LayoutHit& hit : canvas_->index()->at(first, count)) {
        auto* item = new QListWidgetItem(cellFiles_);
        if (hit.kind == PictureKind::Metadata) {
            const MetadataBlock& block = picture.metadata()[hit.owner];
            item->setText(QString::fromUtf8(MetadataKindName(block.kind).data()) + QString(" at sector %1").arg(block.sector));
            item->setFlags(Qt::ItemIsEnabled);
        } else if (hit.owner < session_.records.files().size()) {
            const ItemRecord& file = session_.records.files()[hit.owner];
            item->setText(Latin1(FindFilesFilePath(session_.records, file)));
            item->setToolTip(item->text().toHtmlEscaped());
            item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(file.itemNumber));
        }
    }
    if (cellFiles_->count() == 0)
        new QListWidgetItem(QString("Nothing read lies in sectors %1-%2").arg(first).arg(first + count - 1), cellFiles_);
}

void DiskMapWindow::goToSector() {
    const QString typed = sectorField_->text().trimmed();
    const uint64_t sectors = canvas_->picture() ? canvas_->picture()->diskSectors() : 0;
    const auto sector = sectors > 0 ? ParseSectorArgument(typed.toStdString(), 0, sectors - 1) : std::nullopt;
    const auto cell = sector ? canvas_->selectSector(*sector) : std::nullopt;
    if (!cell) {
        canvas_->clearSelection();
        cellFiles_->clear();
        new QListWidgetItem(QString("%1 is no sector of this disk (0-%2)").arg(typed).arg(sectors == 0 ? 0 : sectors - 1),
                            cellFiles_);
        return;
    }
    listCell(cell->first, cell->count);
}

void DiskMapWindow::fileChosen(QListWidgetItem* item) {
    if (!item || !item->data(Qt::UserRole).isValid()) return;
    wizard_.ShowFileInList(item->data(Qt::UserRole).toULongLong());
    follow();
}

bool DiskMapWindow::savePng(const QString& path, QString* why) {
    if (const auto input = session_.inputs.inputAt(path.toStdString())) {
        if (why) *why = QString::fromStdString(ReplacesInputText(path.toStdString(), *input));
        return false;
    }
    if (!canvas_->grab().save(path, "PNG")) {
        if (why) *why = "The picture could not be written to " + path + ".";
        return false;
    }
    return true;
}

void DiskMapWindow::askAndSavePng() {
    const QString path = QFileDialog::getSaveFileName(this, "Save the disk map", "disk-map.png", "PNG pictures (*.png)");
    if (path.isEmpty()) return;
    QString why;
    if (!savePng(path, &why)) QMessageBox::warning(this, "Disk Map", why);
}

void DiskMapWindow::askAndSaveRescuePlan() {
    // The selection is read before a dialog can take the focus from the list.
    const SaveSelection selection = session_.wizard.busy() ? SaveSelection() : wizard_.BrowseSelection();
    RescuePlanDialog choice(!selection.folderIndexes.empty() || !selection.fileIndexes.empty(), this);
    if (choice.exec() != QDialog::Accepted) return;
    QFileDialog dialog(this, "Save Rescue Plan", "rescue-plan.map", "ddrescue mapfiles (*.map);;All files (*)");
    dialog.setObjectName("RescuePlanSaveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto path = RunFileDialog(dialog);
    if (!path) return;
    if (session_.wizard.busy()) {
        ShowMessage(kMessageError, "The plan is saved once the running work has ended.", this);
        return;
    }
    if (const auto why = SaveSessionRescuePlan(session_, *path, choice.content(), selection))
        ShowMessage(kMessageError, *why, this);
}

}  // namespace lumbra
