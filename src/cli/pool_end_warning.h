#pragma once
// A pool that reaches past the end of its disk (an image cut short) is said once, before
// anything is read from it: every file there comes out with zeros where the image ends.
#include "cli/cli_context.h"
#include "discovery/pool_table.h"
#include "disk/sector_reader.h"

namespace lumbra::cli {

// "lumbra-nss-cli: warning: pool NAME ends at sector E, past the end of the disk at sector D;
// what lies beyond reads as zeros" on stderr when the pool's end lies past the disk's; nothing
// when it does not or the disk's size is not known.
void WarnPoolPastDiskEnd(CliContext& context, const SectorReader& reader, const SelectedPool& pool);

}  // namespace lumbra::cli
