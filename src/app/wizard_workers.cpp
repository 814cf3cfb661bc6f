// The scan and mount workers, and how they end the wizard's waiting steps.
#include <string>

#include "app/metadata_message.h"
#include "app/mount_display.h"
#include "app/wizard_controller.h"
#include "discovery/partition_scan.h"
#include "disk/progress_estimator.h"
#include "recovery/folder_browse.h"
#include "recovery/search_control.h"
#include "recovery/volume_mount.h"
#include "snapshot/snapshot_tree_sample.h"

namespace lumbra {

namespace {

// The scan's progress, written into the ScanProgress layout, the pool tree and the estimate
// beside the progress bar (redrawn at most twice a second).
class ScanDisplay : public ScanEvents {
public:
    ScanDisplay(View& view, PoolTable& pools, uint32_t root, std::atomic<uint64_t>& scanSector, LiveDiskFacts& live,
                SearchControl& pause)
        : view_(view), pools_(pools), root_(root), scanSector_(scanSector), live_(live), pause_(pause) {}
    void onCurrentSector(uint64_t sector) override {
        pause_.checkpoint();
        scanSector_.store(sector, std::memory_order_relaxed);
        live_.offerPools(pools_);
        sector_ = sector;
        view_.SetText(InfoValue(2), std::to_string(sector));
    }
    void onStatus(uint64_t done, uint64_t length) override {
        view_.SetText(Element::StatusLine, ScanStatusText(done, length));
        const ProgressEstimate estimate = estimator_.update(done, length, sector_);
        const double now = clock_();
        if (now - lastEstimate_ < 0.5) return;
        lastEstimate_ = now;
        view_.SetText(Element::ProgressEstimate, ProgressEstimateText(estimate, "sectors"));
    }
    void onProgress(uint32_t percent) override { view_.SetProgress(percent); }
    void onPoolAdded(uint32_t row, const PoolEntry& pool) override {
        const uint32_t item = view_.AddTreeItem(TreeKind::Pools, root_, pool.name);
        if (row < pools_.count()) pools_[row].treeItem = item;
    }
    void onPoolsFound(uint32_t count) override { view_.SetText(InfoValue(1), std::to_string(count)); }

private:
    View& view_;
    PoolTable& pools_;
    uint32_t root_;
    std::atomic<uint64_t>& scanSector_;
    LiveDiskFacts& live_;
    SearchControl& pause_;
    uint64_t sector_ = 0;
    SecondsClock clock_ = SteadySeconds();
    ProgressEstimator estimator_{clock_};
    double lastEstimate_ = -1;
};

// The mount's events on their way to its display: the position it reads and the B-tree blocks
// it queued are offered to the disk map first.
class MountMapOffer : public MountEvents {
public:
    MountMapOffer(MountEvents& inner, const BlockQueue& queue, std::atomic<uint64_t>& scanSector, LiveDiskFacts& live,
                  SearchControl& pause)
        : inner_(inner), queue_(queue), scanSector_(scanSector), live_(live), pause_(pause) {}
    void currentSector(uint64_t sector) override {
        pause_.checkpoint();
        scanSector_.store(sector, std::memory_order_relaxed);
        live_.offerBlocks(queue_);
        inner_.currentSector(sector);
    }
    void foldersFound(uint32_t count) override {
        live_.offerBlocks(queue_);
        inner_.foldersFound(count);
    }
    void filesFound(uint32_t count) override {
        live_.offerBlocks(queue_);
        inner_.filesFound(count);
    }
    void lastFileFolder(std::string_view name) override { inner_.lastFileFolder(name); }
    void statusLine(std::string_view text) override { inner_.statusLine(text); }
    void progress(uint32_t percent) override { inner_.progress(percent); }

private:
    MountEvents& inner_;
    const BlockQueue& queue_;
    std::atomic<uint64_t>& scanSector_;
    LiveDiskFacts& live_;
    SearchControl& pause_;
};

std::string NoPoolInRangeText(uint64_t start, uint64_t end) {
    return "No NSS pool was found between sector " + std::to_string(start) + " and sector " + std::to_string(end) + ".";
}

}  // namespace

void WizardController::JoinFinishedWorker() {
    if (worker_.joinable()) worker_.join();
}

void WizardController::WaitForWorker() { JoinFinishedWorker(); }

// ---------------------------------------------------------------- scan

void WizardController::StartScan(ResumableScanRequest request) {
    JoinFinishedWorker();
    PrepareScan(request);
    worker_ = std::thread([this, request = std::move(request)] { RunScan(request); });
}

void WizardController::PrepareScan(ResumableScanRequest& request) {
    WizardState& wizard = session_.wizard;
    // A Yes to an earlier Stop question that came after its worker ended must not stop this one.
    wizard.stopRequested = 0;
    wizard.scanSector = WizardState::kNoScanSector;
    session_.live.clear();
    wizard.workerBusy = 1;
    request.readAheadSectors = ScanReadAhead(session_.disk.accessMode());
}

void WizardController::RunScan(const ResumableScanRequest& request) {
    view_.Disable(Element::PoolTree);
    ScanDisplay display(view_, session_.pools, view_.TreeRoot(TreeKind::Pools), session_.wizard.scanSector,
                        session_.live, workerPause_);
    RunResumableScan(*session_.reader, request, session_.scanStates, session_.wizard.stopRequested, session_.pools,
                     display);
    FinishScan();
}

void WizardController::FinishScan() {
    WizardState& wizard = session_.wizard;
    const bool foundNothing = wizard.stopRequested == 0 && session_.pools.empty();
    view_.ExpandTreeItem(TreeKind::Pools, view_.TreeRoot(TreeKind::Pools));
    view_.Enable(Element::PoolTree);
    view_.Hide(Element::ProgressBar);
    view_.Hide(Element::ProgressEstimate);
    wizard.stopRequested = 0;
    view_.Hide(Element::StatusLine);
    view_.Disable(Element::StopButton);
    view_.Hide(Element::StopButton);
    view_.Show(Element::BackButton);
    view_.Enable(Element::BackButton);
    ApplyMenu(MenuMode::Choosing);
    ApplyLayout(InfoLayout::PoolInfo);
    SetQuickHelp(QuickHelp::SelectPool);
    wizard.setStep(static_cast<WizardStep>(wizard.step.load() + 1));
    if (foundNothing) {
        // An empty pool tree would leave the user guessing: say so, and offer the range again.
        // The reader stays until the next drive is opened on the interface thread: the Disk Map
        // window may be reading it right now.
        view_.ShowMessage(MessageKind::Information, NoPoolInRangeText(wizard.startSector, wizard.endSector));
        ReturnToDiskStep();
        ShowNext();
    }
    wizard.workerBusy = 0;
}

// ---------------------------------------------------------------- mount

void WizardController::StartMount() {
    JoinFinishedWorker();
    WizardState& wizard = session_.wizard;
    wizard.stopRequested = 0;
    wizard.scanSector = WizardState::kNoScanSector;
    session_.live.clear();
    wizard.workerBusy = 1;
    if (!session_.reader) OpenSelectedDrive();
    const uint64_t rootSector =
        wizard.selectedVolume < session_.volumes.count() ? session_.volumes[wizard.selectedVolume].rootSector : 0;
    worker_ = std::thread([this, rootSector] { RunMount(rootSector); });
}

void WizardController::RunMount(uint64_t rootSector) {
    SetQuickHelp(QuickHelp::Mounting);
    view_.SetProgress(0);
    view_.Show(Element::StatusLine);
    view_.Show(Element::ProgressBar);
    view_.Disable(Element::BackButton);
    view_.Hide(Element::BackButton);
    view_.Show(Element::StopButton);
    view_.Enable(Element::StopButton);
    ApplyLayout(InfoLayout::MountProgress);

    view_.SetText(Element::ProgressEstimate, "");
    view_.Show(Element::ProgressEstimate);
    MountDisplay display(view_, SteadySeconds());
    MountMapOffer events(display, session_.blockQueue, session_.wizard.scanSector, session_.live, workerPause_);
    MountContext context{*session_.reader, session_.selectedPool, session_.blockQueue, session_.records,
                         events, session_.wizard.stopRequested};
    const MountOutcome outcome = MountVolume(context, MountRequest{session_.wizard.recoveryMode, rootSector});
    // Out of memory, the program ends: the last counts are not worth an allocation.
    if (outcome.memoryFailure != MemoryFailure::None) return EndForMemory(outcome.memoryFailure);
    session_.treePartial = outcome.stopped;
    std::vector<uint64_t> blocksRead;
    for (size_t i = 0; i < session_.blockQueue.size(); ++i) blocksRead.push_back(session_.blockQueue[i]);
    session_.treeSample = SampleTreeBlocks(*session_.reader, session_.selectedPool, rootSector, blocksRead);
    display.flush();
    FinishMount();
}

void WizardController::EndForMemory(MemoryFailure failure) {
    view_.ShowMessage(MessageKind::Error, MemoryFailureText(failure));
    desktop_.EndProcess(kExitOutOfMemory);
}

// Stop stays offered while the folder tree is built: a stop there keeps the folders walked.
void WizardController::FinishMount() {
    WizardState& wizard = session_.wizard;
    view_.Hide(Element::ProgressEstimate);
    wizard.setStep(static_cast<WizardStep>(wizard.step.load() + 1));
    wizard.stopRequested = 0;
    EnterBrowseView();
    view_.Disable(Element::StopButton);
    view_.Hide(Element::StopButton);
    wizard.stopRequested = 0;
    view_.Show(Element::BackButton);
    view_.Enable(Element::BackButton);
    view_.Hide(Element::ProgressBar);
    ApplyMenu(MenuMode::Browse);
    SetQuickHelp(session_.treePartial ? QuickHelp::BrowsePartial : QuickHelp::Browse);
    // Told while the worker still counts as busy: until then the reader is the worker's, and Back
    // may let it go at once after.
    const DamageMap* damage = session_.reader ? session_.reader->damageMap() : nullptr;
    if (damage) {
        const std::string warning = UnreadableMetadataMessage(damage->metadataDamage(), wizard.recoveryMode == 2);
        if (!warning.empty()) view_.ShowMessage(MessageKind::Warning, warning);
    }
    wizard.workerBusy = 0;
}

// The right pane of the browse step over the recovered tree, from a mount or a snapshot.
void WizardController::EnterBrowseView() {
    view_.Hide(Element::VolumeTree);
    view_.Show(Element::DirectoryTree);
    view_.Disable(Element::VolumeTree);
    list_.deleteAllRows();
    view_.SetListColumns(BrowseColumns());
    view_.SetListGridAndFullRowSelect();
    view_.SetProgress(0);
    view_.SetText(Element::StatusLine, wizard_text::kCreatingTree);
    const std::unordered_set<uint64_t> damaged = FoldersHoldingDamage();
    BuildFolderTree(session_.records, directoryTree_, view_.TreeRoot(TreeKind::Directory), 0,
                    &session_.wizard.stopRequested,
                    [&damaged](const ItemRecord& folder) { return damaged.contains(folder.objectId); });
    FillItemList(session_.records, list_, 0, session_.filters.patterns());
    view_.Enable(Element::DirectoryTree);
    ApplyLayout(InfoLayout::Hidden);
    view_.Show(Element::FileList);
}

}  // namespace lumbra
