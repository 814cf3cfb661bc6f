#pragma once
// What pools --scan [--resume] tells about the recorded state of its drive and range, and the
// recording its scan then keeps.
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "cli/pool_search.h"

namespace lumbra::cli {

// Looks for the state of the drive at drivePath and this range: a file that is not used is
// named on stderr; with resume the scan goes on from the state (or, without one, says so and
// starts at the beginning); without resume a state found is mentioned and the scan starts
// afresh. nullopt: the drive has no identity (nothing is recorded).
std::optional<ScanRecording> PrepareScanRecording(CliContext& context, const ScanStateStore& store,
                                                  const std::string& drivePath, const ScanRange& range, bool resume);

}  // namespace lumbra::cli
