#pragma once
// The step machine of the main window: disks, pools, volumes, browse. It decides what every
// view element shows, runs discovery and starts the scan and mount workers, and carries out
// the menu, toolbar, list and keyboard commands. It holds no disk logic and no toolkit code.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>

#include "app/browse_bindings.h"
#include "app/command.h"
#include "app/info_layouts.h"
#include "app/key_filter.h"
#include "app/menu_mode.h"
#include "app/quick_help.h"
#include "app/session.h"
#include "app/view.h"
#include "recovery/file_condition.h"
#include "recovery/search_control.h"
#include "discovery/memory_failure.h"
#include "discovery/resumable_scan.h"
#include "discovery/scan_range.h"
#include "disk/disk_access.h"
#include "platform/desktop.h"
#include "snapshot/snapshot_drive_search.h"

namespace lumbra {

namespace wizard_text {
constexpr std::string_view kNoPoolFound = "No Pool Found  !! \r\nSelect Search Partition and than Click Next.";
constexpr std::string_view kNoVolumesFound = "No volumes found. \r\nPlease select the pool based recovery.";
constexpr std::string_view kStopQuestion = "Do you want to stop the current process ?";
constexpr std::string_view kExitQuestion = "Do you really want to exit ?";
constexpr std::string_view kCreatingTree = "Creating Tree Structure, Please wait";
constexpr std::string_view kDetailsHeader = "                                            Details";
constexpr std::string_view kDriveRoot = "My Computer";
constexpr std::string_view kPoolRoot = "NSS Pools";
constexpr std::string_view kVolumeRoot = "NSS Volumes";
constexpr std::string_view kDriveLabelPrefix = "Storage Device";
// Follow the path of a dropped image that cannot become a drive row.
constexpr std::string_view kImagesInModeNOnly = ": disk images are added in the N access mode only.";
constexpr std::string_view kDriveListFull = ": the drive list is full.";
// "Administrator rights were not given, so Storage Device" N "cannot be read."
constexpr std::string_view kRightsNotGivenBefore = "Administrator rights were not given, so ";
constexpr std::string_view kRightsNotGivenAfter = " cannot be read.";
constexpr std::string_view kNoWayToAskBefore =
    "This system has no way to ask for administrator rights (pkexec is not installed), so ";
constexpr std::string_view kNoWayToAskAfter =
    " cannot be read.\r\nStart the program with sudo, or have your account added to the disk group "
    "(then log in again).";
// "Waiting for administrator rights to read Storage Device" N "..."
constexpr std::string_view kWaitingForRightsBefore = "Waiting for administrator rights to read ";
constexpr std::string_view kWaitingForRightsAfter = " ...";
}  // namespace wizard_text

class WizardController {
public:
    // The exit status after a failed allocation; 0 would tell the caller that all went well.
    static constexpr int kExitOutOfMemory = 1;

    WizardController(Session& session, View& view, Desktop& desktop);
    // Asks a running worker to stop and waits for it (the GUI ends the process instead when
    // a worker is still running at exit, see OnCloseRequest).
    ~WizardController();
    WizardController(const WizardController&) = delete;
    WizardController& operator=(const WizardController&) = delete;

    // The main window's start-up once its controls exist: application directory, drive table
    // and drive tree, menus, information panel, quick help, buttons, settings. False when the
    // drives cannot be enumerated; the message has been shown and the process ended.
    bool StartUp(const DriveSources& sources, const std::string& libraryFolder);

    // ---- user actions of the wizard
    // A disk image file dropped onto the drive tree: in the disk step, with no worker running,
    // it becomes a drive row after the others, as --image makes one; a file that cannot be
    // added is told and changes nothing.
    void OnImageDropped(const std::string& path);
    void OnLeftTreeClick(uint32_t item, TreeHitPart part);
    void OnIdentifyOption(uint16_t option);
    void OnNext();
    void OnBack();
    void OnStop();
    void OnExitCommand();
    // Window close: true when the window may close.
    bool OnCloseRequest();
    KeyAction FilterKey(Key key);

    // ---- the end of the workers; called on the worker thread
    void FinishScan();
    void FinishMount();
    // Waits until no worker thread runs. Never call it on the GUI thread of a View that
    // forwards worker calls by blocking (see view.h); tests and shutdown use it.
    void WaitForWorker();
    // The scan or mount waits for the answer to the Stop question at this moment.
    bool WorkerHeldByStopQuestion() const { return workerPause_.holding(); }

    // ---- commands
    void OnCommand(Command command);
    // Toolbar buttons 1 to 7, left to right.
    void OnToolbarButton(int button);
    void OnHomePageButton();
    bool CommandEnabled(Command command) const { return menu_.enabled(command); }

    // ---- the file list and the directory tree
    void OnListRightClick();
    void ShowListMenu();
    void OnListDoubleClick();
    void OnListFocused();
    void OnTreeFocused();
    // Editing started by clicking the name of the selected row: true when it may go on.
    bool OnListEditStarting(int row);
    void BeginRename();
    // The edit ended; nullopt when it was cancelled.
    void EndRename(const std::optional<std::string>& editedText);
    void SetListView(ListViewMode mode);
    void OpenSelected();

    void OpenHelp();
    void OpenHomePage();
    void RunLiveUpdate();

    // The address the home-page button and the exit confirmation open.
    static constexpr std::string_view kHomePage = "https://www.corvalt.example/lumbra-novell-nss";

    // The condition of a file row's data as known now; nullopt for folders and rows without a
    // record or an open drive.
    std::optional<FileCondition> ConditionOfRow(const ItemRow& row) const;
    const FileListBinding& fileList() const { return list_; }
    // The way of Find and the disk map into the browse step: shows the folder that holds file number
    // itemNumber and selects its row; false when the list cannot show it (not browsing, a
    // worker runs, the file has no place in the tree or the filters hide it).
    bool ShowFileInList(uint64_t itemNumber);
    // The file of the row with the selection mark; nullptr for none or a folder row.
    const ItemRecord* MarkedFile() const;
    // What Recover Selected would take from the rows selected in the browse step; nothing
    // outside it.
    SaveSelection BrowseSelection() const;
    uint32_t openWithFlag() const { return openWithFlag_; }

private:
    // steps
    void SelectDrive(uint32_t item);
    void SelectPool(uint32_t item);
    void SelectVolume(uint32_t item);
    void NextFromDisks();
    // The rest of the disk step's Next once the drive's open has ended: the scan to start when
    // the step goes on to one. Runs on the worker when the open waited for rights.
    std::optional<ResumableScanRequest> GoOnFromDisks(std::unique_ptr<SectorReader> reader, OpenFailure failure,
                                                      const std::optional<ScanRange>& range);
    // Opens the row on a worker, the disk step showing that administrator rights are asked
    // meanwhile; the worker then goes on as GoOnFromDisks says.
    void StartOpeningWithRights(size_t row, uint16_t badSectorRetries, std::optional<ScanRange> range);
    void ShowWaitingForRights(size_t row);
    void EndWaitingForRights();
    void NextFromPools();
    void NextFromVolumes();
    void LeaveDiskStep();
    void ReturnToDiskStep();
    void EnterBrowseView();
    void ApplyLayout(InfoLayout layout);
    void SetQuickHelp(QuickHelp id);
    void ApplyMenu(MenuMode mode);
    // Creates the tree of the step; the root's id.
    uint32_t CreateStepTree(TreeKind kind);
    void ShowNext();
    // Shows Next in the disk step when the drive tree's highlighted item is a drive, from which
    // either option can go on.
    void ShowNextForHighlightedDrive();
    // Opens the selected drive; false, after the message, when administrator rights were not
    // given for it.
    bool OpenSelectedDrive();
    // The drive's reader; `refused` after the message when administrator rights were not given
    // (the reader then reads nothing).
    std::unique_ptr<SectorReader> OpenDriveRow(size_t row, bool& refused);
    void ReadingDisk(size_t row);
    // The refusal of a drive whose rights were not given or could not be asked for.
    void ShowRightsNotGiven(size_t row, OpenFailure failure);
    void FillRangeFields();

    // workers
    void StartScan(ResumableScanRequest request);
    // Sets the flags of a scan about to run and its read-ahead.
    void PrepareScan(ResumableScanRequest& request);
    void RunScan(const ResumableScanRequest& request);
    // The identity of the selected drive, under which its scans keep their place; empty when
    // it has none (the BIOS access mode).
    std::string SelectedDriveIdentity() const;
    // Offers to go on with a stopped scan of this drive and range: the state when the user
    // says Yes. A state file that is not used is told first.
    std::optional<ScanState> AskToResumeScan(const std::string& driveIdentity, const ScanRange& range);
    void StartMount();
    void RunMount(uint64_t rootSector);
    void JoinFinishedWorker();
    // Shows the message of a failed allocation and ends the program: the tree or the volume
    // list being built is not whole.
    void EndForMemory(MemoryFailure failure);

    // commands
    void OpenSettingsDialog();
    void OpenFiltersDialog();
    void ShowDriveInformation();
    void ShowProperties();
    void SaveSnapshot();
    void LoadSnapshot();
    // The drive that holds the snapshot's disk: its own row, else the one other row found, else
    // the one the user picks. nullopt after a message, or when the user cancels.
    std::optional<SnapshotDriveFit> FindDiskOfSnapshot(const SnapshotState& state);
    std::optional<SnapshotDriveFit> PickDiskOfSnapshot(const SnapshotState& state, std::optional<size_t> preselected,
                                                       bool several);
    void OpenBrowseStepFromSnapshot();
    // True when the drive's damage map holds anything, so that a file may be damaged.
    bool DamageIsKnown() const;
    // True when a file anywhere below the folder of this row is known to be damaged.
    bool FolderHoldsDamage(const ItemRow& row) const;
    // The object ids of every folder with a file known to be damaged anywhere below it.
    std::unordered_set<uint64_t> FoldersHoldingDamage() const;
    void RecoverSelected();
    void RecoverAll();
    // What Recover Selected takes for these rows of the file list.
    SaveSelection SelectionOfRows(const std::vector<int>& rows) const;
    void ExportFileList();
    void SelectFromList();
    // Asks for a destination until one off the disk being recovered is chosen, then saves.
    void SaveToChosenFolder(const SaveSelection& selection);
    void OpenFile(const std::string& path);
    void ShowFolderOfItem(uint32_t item);
    std::string VolumeName(uint32_t row) const;

    Session& session_;
    View& view_;
    Desktop& desktop_;
    MenuState menu_;
    DirectoryTreeBinding directoryTree_;
    FileListBinding list_;
    std::thread worker_;
    // Holds the scan or mount while the Stop question is open.
    SearchControl workerPause_;
    uint32_t driveTreeRoot_ = 0;
    // The disk step's menu mode before a wait for rights, to return to.
    MenuMode diskStepMenu_ = MenuMode::Start;
    uint32_t openWithFlag_ = 0;
    std::string renameOriginal_;
    int renameRow_ = -1;
};

}  // namespace lumbra
