#pragma once
// The end of every step that reads on-disk structures (pools, volumes, a mount): a warning when
// some of their sectors could not be read, since folders, files or whole pools may then be
// missing without any other sign.
#include <cstdint>

#include "cli/cli_context.h"
#include "discovery/pool_table.h"
#include "disk/sector_reader.h"

namespace lumbra::cli {

// The count of damaged metadata sectors the reader met; 0 for a reader that keeps no damage map.
uint64_t UnreadableMetadataSectors(const SectorReader& reader);

// "lumbra-nss-cli: warning: N metadata sector(s) could not be read (first: sector S); some
// folders or files may be missing; try --pool-based" on stderr when N > 0. The advice is given
// only where it helps: some of those sectors lie inside the pool (null: none chosen yet, as
// when a partition table or header is what was lost), and the pool was not read whole already.
void WarnUnreadableMetadata(CliContext& context, const SectorReader& reader, const SelectedPool* pool = nullptr,
                            bool poolBased = false);

}  // namespace lumbra::cli
