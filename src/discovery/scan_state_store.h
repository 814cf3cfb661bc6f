#pragma once
// The folder of scan states: one file per drive, $XDG_STATE_HOME/lumbra-nss/ (by default
// ~/.local/state/lumbra-nss/). A state is written to a temporary file, flushed to the disk and
// renamed into place, so that a crash or a power cut leaves the previous state or the new one,
// never a piece of either.
#include <optional>
#include <string>

#include "discovery/scan_state.h"

namespace lumbra {

// What a look for a drive's state found.
struct StoredScanState {
    std::optional<ScanState> state;
    // Set when a file was there but is not used: damaged, foreign (another drive's, another
    // program's), or unreadable. The file is left alone.
    std::string ignoredBecause;
};

class ScanStateStore {
public:
    // folder: where the states live; empty keeps nothing (every save fails, nothing is found).
    explicit ScanStateStore(std::string folder);

    // $XDG_STATE_HOME/lumbra-nss when XDG_STATE_HOME is an absolute path, else
    // $HOME/.local/state/lumbra-nss; empty when neither is set.
    static std::string DefaultFolder();

    // The file of a drive's state: "scan-" and a digest of the identity.
    std::string pathFor(const std::string& driveIdentity) const;

    // Why no state can be saved, when none can: no folder is known, or the folder (or the nearest
    // folder above it that exists) belongs to another user than the effective one, whose home
    // this program must not fill with folders of its own.
    std::optional<std::string> whyNotKept() const;

    // False when the state was not saved; nothing is created then where whyNotKept answers.
    bool save(const ScanState& state) const;
    // The state of the drive when its file holds one for exactly this drive.
    StoredScanState load(const std::string& driveIdentity) const;
    void remove(const std::string& driveIdentity) const;

private:
    std::string folder_;
};

// "A scan of this disk stopped at sector S (P %). Continue from there?"
std::string ResumeQuestion(const ScanState& state);

// "The scan state cannot be saved (WHY); a stopped scan will start again from its beginning."
std::string ScanStateNotKeptText(const std::string& why);

}  // namespace lumbra
