#include "gui/saving_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <thread>

#include "app/session.h"
#include "gui/gui_thread.h"
#include "gui/latin1.h"
#include "toolkit/qt/app_messages.h"
#include "recovery/destination_files.h"
#include "toolkit/qt/progress_bar.h"

namespace lumbra {

namespace {

QLabel* Value(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

SavingWindow::SavingWindow(SavingFlags& flags, QWidget* parent)
    : PictureDialog("Saving the data please wait", 328, 166, QString(), parent),
      flags_(flags),
      path_(Value("PathValue")),
      name_(Value("FileNameValue")),
      total_(Value("TotalFilesValue")),
      progress_(new ProgressBar),
      estimate_(Value("EstimateValue")) {
    setObjectName("SavingWindow");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const char* captions[] = {"Path", "File Name", "Total Files"};
    QLabel* values[] = {path_, name_, total_};
    for (int row = 0; row < 3; ++row) {
        place(new QLabel(captions[row]), 14, 16 + 22 * row, 50, 10);
        place(values[row], 70, 16 + 22 * row, 246, 10);
    }
    progress_->setRange(0, 100);
    place(progress_, 14, 90, 300, 14);
    place(estimate_, 14, 108, 300, 10);
    auto* skip = new QPushButton("S&kip File");
    skip->setObjectName("SkipFile");
    place(skip, 96, 130, 64, 16);
    auto* stop = new QPushButton("&Stop Saving");
    stop->setObjectName("StopSaving");
    stop->setDefault(true);
    place(stop, 168, 130, 64, 16);
    connect(skip, &QPushButton::clicked, this, [this] { flags_.skip = 1; });
    connect(stop, &QPushButton::clicked, this, [this] { flags_.stopSaving = 1; });
}

RecoveryRunResult SavingWindow::run(Session& session, const SaveSelection& selection, const std::string& destination) {
    if (!session.reader) return {};
    PosixDestinationFiles files(&session.inputs);
    CountingSectorReader counted(*session.reader);
    counted_ = &counted;
    for (size_t index : SelectedFiles(session.records, selection))
        totalSectors_ += (static_cast<uint64_t>(std::max<int64_t>(session.records.files()[index].size, 0)) + 4095) / 4096 * 8;
    CopyContext context{counted, session.selectedPool, files, session.savingFlags,
                        session.filters.patterns(), session.settings.duplicateAction, this, {}};
    context.askContinue = [this](const std::string& question) {
        return calls_.answer([this, question] { return AskYesNo(kMessageError, question, this); }) == 1;
    };
    RecoveryRunOptions options;
    options.keepTimes = session.settings.keepTimes.load();
    const auto& rows = session.disk.driveTable().rows;
    if (session.wizard.selectedDrive < rows.size()) options.sourceName = rows[session.wizard.selectedDrive].path;
    options.poolName = session.selectedPool.name;
    if (session.wizard.selectedVolume < session.volumes.count())
        options.volumeName = session.volumes[session.wizard.selectedVolume].name;
    for (const QString& argument : QCoreApplication::arguments())
        options.commandLine.push_back(argument.toLocal8Bit().toStdString());
    RecoveryRunResult result;
    std::thread worker([&] { result = RunRecovery(context, session.records, selection, destination, options); });
    exec();
    // The worker's last call closed the window; it has nothing left to do.
    worker.join();
    counted_ = nullptr;
    return result;
}

void SavingWindow::fileStarted(const std::string& path, const std::string& name, uint32_t totalFiles) {
    calls_.run([this, shownPath = QString::fromLocal8Bit(path.c_str()), shownName = Latin1(name), totalFiles] {
        path_->setText(shownPath);
        name_->setText(shownName);
        total_->setText(QString::number(totalFiles));
        progress_->setPosition(0);
    });
}

void SavingWindow::fileProgress(uint32_t percent) {
    calls_.run([this, percent] { progress_->setPosition(static_cast<int>(std::min<uint32_t>(percent, 100))); });
    if (!counted_) return;
    const ProgressEstimate estimate = estimator_.update(counted_->sectorsRead(), totalSectors_, counted_->lastSector());
    const double now = SteadySeconds()();
    if (now - lastEstimate_ < 0.5) return;
    lastEstimate_ = now;
    calls_.run([this, text = QString::fromStdString(ProgressEstimateText(SectorsAsMegabytes(estimate), "MB"))] { estimate_->setText(text); });
}

void SavingWindow::savingDone() {
    calls_.run([this] { accept(); });
}

}  // namespace lumbra
