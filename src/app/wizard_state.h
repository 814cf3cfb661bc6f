#pragma once
// Where the wizard stands. Owned by the session; the scan and mount workers read the
// selection and write the flags, so every field a worker touches is one atomic word.
#include <atomic>
#include <cstdint>

namespace lumbra {

enum class WizardStep : int32_t {
    StepStartup = -1,  // only while the drive tree is being created at start-up
    StepDisks = 0,
    StepPools = 1,
    StepVolumes = 2,
    StepBrowse = 3,
};

constexpr uint16_t kUsePartitionTable = 1;
constexpr uint16_t kSearchPartition = 2;

struct WizardState {
    std::atomic<int32_t> step{static_cast<int32_t>(WizardStep::StepStartup)};
    uint16_t identifyOption = kUsePartitionTable;
    uint16_t recoveryMode = 1;  // 1 Volume Based, 2 Pool Based
    uint16_t selectedDrive = 0;
    uint16_t selectedPool = 0;
    uint32_t selectedVolume = 0;
    uint32_t startSector = 0;   // scan range [startSector, endSector)
    uint32_t endSector = 0;
    std::atomic<int32_t> workerBusy{0};
    std::atomic<int32_t> stopRequested{0};
    // 1 while a worker opens the selected drive at Next and hands its reader to the session:
    // until then the session's reader is the worker's, even for a look.
    std::atomic<int32_t> openingDrive{0};
    std::atomic<int32_t> treeHasFocus{0};
    std::atomic<int32_t> labelEditing{0};
    // The sector the running partition scan or mount reads, for the disk map; kNoScanSector
    // before a worker's first read.
    std::atomic<uint64_t> scanSector{kNoScanSector};
    static constexpr uint64_t kNoScanSector = UINT64_MAX;

    WizardStep currentStep() const { return static_cast<WizardStep>(step.load()); }
    void setStep(WizardStep value) { step.store(static_cast<int32_t>(value)); }
    bool busy() const { return workerBusy.load() == 1; }
};

}  // namespace lumbra
