#include "cli/scan_resume_option.h"

#include "disk/drive_identity.h"

namespace lumbra::cli {

std::optional<ScanRecording> PrepareScanRecording(CliContext& context, const ScanStateStore& store,
                                                  const std::string& drivePath, const ScanRange& range, bool resume) {
    const std::string identity = DriveIdentity(drivePath);
    if (identity.empty()) {
        if (resume) context.err << "lumbra-nss-cli: " << drivePath << " keeps no scan state; scanning from the start\n";
        return std::nullopt;
    }
    if (const auto why = store.whyNotKept())
        context.err << "lumbra-nss-cli: " << ScanStateNotKeptText(*why) << "\n";
    StoredScanState stored = FindResumableScan(store, identity, range);
    if (!stored.ignoredBecause.empty()) context.err << "lumbra-nss-cli: " << stored.ignoredBecause << "\n";
    ScanRecording recording{store, identity, std::nullopt};
    if (!stored.state) {
        if (resume) context.err << "lumbra-nss-cli: no stopped scan of this drive and range; scanning from the start\n";
        return recording;
    }
    if (resume) {
        context.err << "lumbra-nss-cli: going on from sector " << stored.state->nextSector << " ("
                    << stored.state->percentDone() << " %)\n";
        recording.resumeFrom = std::move(stored.state);
    } else {
        context.err << "lumbra-nss-cli: a scan of this drive and range stopped at sector " << stored.state->nextSector
                    << " (" << stored.state->percentDone() << " %); --resume goes on from there\n";
    }
    return recording;
}

}  // namespace lumbra::cli
