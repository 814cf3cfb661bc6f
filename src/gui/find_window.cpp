#include "gui/find_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/gui_thread.h"
#include "gui/latin1.h"
#include "toolkit/qt/app_messages.h"

namespace lumbra {

namespace {

constexpr std::string_view kStopSearchQuestion = "Do you want to stop file searching ?";
constexpr int kItemNumberRole = Qt::UserRole;

}  // namespace

FindWindow::FindWindow(const RecoveredTree& tree, QWidget* parent)
    : PictureDialog("Find File(s)", 395, 238, QString(), parent),
      tree_(tree),
      search_(new QLineEdit),
      results_(new QTreeWidget),
      start_(new QPushButton("&Start Search")),
      stop_(new QPushButton("S&top Search")),
      lastFile_(new QLabel),
      filesFound_(new QLabel) {
    setObjectName("FindWindow");
    place(new QLabel("Enter string to search"), 10, 12, 90, 10);
    search_->setObjectName("SearchText");
    place(search_, 100, 10, 180, 13);
    start_->setObjectName("StartSearch");
    start_->setDefault(true);
    place(start_, 290, 9, 46, 15);
    stop_->setObjectName("StopSearch");
    stop_->setEnabled(false);
    place(stop_, 340, 9, 46, 15);
    results_->setObjectName("FindResults");
    results_->setHeaderLabels({"File Name", "Path", "Size"});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setColumnWidth(0, 150);
    results_->setColumnWidth(1, 250);
    results_->setColumnWidth(2, 95);
    place(results_, 10, 30, 375, 170);
    place(new QLabel("Last File"), 10, 208, 40, 10);
    lastFile_->setObjectName("LastFile");
    lastFile_->setTextFormat(Qt::PlainText);  // recovered names are never rich text
    place(lastFile_, 52, 208, 180, 10);
    place(new QLabel("Files Found"), 240, 208, 50, 10);
    filesFound_->setObjectName("FilesFound");
    place(filesFound_, 292, 208, 90, 10);
    connect(start_, &QPushButton::clicked, this, &FindWindow::startSearch);
    connect(stop_, &QPushButton::clicked, this, &FindWindow::stopSearch);
    connect(results_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { chooseRow(item); });
}

void FindWindow::chooseRow(QTreeWidgetItem* item) {
    if (!item) return;
    chosen_ = item->data(0, kItemNumberRole).toULongLong();
    endWorker();
    accept();
}

FindWindow::~FindWindow() { endWorker(); }

void FindWindow::endWorker() {
    worker_.cancel();
    calls_.serveUntil([this] { return !worker_.running(); });
    worker_.wait();
}

void FindWindow::startSearch() {
    if (worker_.running()) return;
    endWorker();
    start_->setEnabled(false);
    stop_->setEnabled(true);
    results_->clear();
    worker_.start(tree_, ToLatin1(search_->text()), *this);
}

void FindWindow::stopSearch() {
    if (!worker_.running()) return;
    stop_->setEnabled(false);
    worker_.pause();
    if (AskYesNo(kMessageQuestion, kStopSearchQuestion, this) == 1) {
        endWorker();
        showIdle();
        return;
    }
    stop_->setEnabled(true);
    worker_.resume();
}

void FindWindow::showIdle() {
    start_->setEnabled(true);
    stop_->setEnabled(false);
}

void FindWindow::rowFound(const FindRow& row, uint32_t filesFound) {
    calls_.run([this, row, filesFound] {
        auto* item = new QTreeWidgetItem(results_, {Latin1(row.fileName), Latin1(row.path), QString::number(row.size)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setIcon(0, icons_.file(Latin1(row.fileName)));
        item->setData(0, kItemNumberRole, QVariant::fromValue<qulonglong>(row.itemNumber));
        lastFile_->setText(Latin1(row.fileName));
        filesFound_->setText(QString::number(filesFound));
    });
}

void FindWindow::searchEnded(bool) {
    calls_.run([this] { showIdle(); });
}

void FindWindow::reject() {
    if (worker_.running()) return;
    PictureDialog::reject();
}

}  // namespace lumbra
