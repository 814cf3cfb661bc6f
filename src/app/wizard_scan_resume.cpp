// Going on with a scan that stopped: the drive's identity and the question.
#include "app/wizard_controller.h"
#include "disk/drive_identity.h"

namespace lumbra {

std::string WizardController::SelectedDriveIdentity() const {
    const auto& rows = session_.disk.driveTable().rows;
    const size_t row = session_.wizard.selectedDrive;
    if (session_.disk.accessMode() != AccessMode::N || row >= rows.size()) return {};
    return DriveIdentity(rows[row].path, session_.sysRoot);
}

std::optional<ScanState> WizardController::AskToResumeScan(const std::string& driveIdentity, const ScanRange& range) {
    if (driveIdentity.empty()) return std::nullopt;
    if (const auto why = session_.scanStates.whyNotKept())
        view_.ShowMessage(MessageKind::Information, ScanStateNotKeptText(*why));
    StoredScanState stored = FindResumableScan(session_.scanStates, driveIdentity, range);
    if (!stored.ignoredBecause.empty()) view_.ShowMessage(MessageKind::Information, stored.ignoredBecause);
    if (!stored.state) return std::nullopt;
    if (view_.AskYesNo(MessageKind::Question, ResumeQuestion(*stored.state)) != Answer::Yes) return std::nullopt;
    return stored.state;
}

}  // namespace lumbra
