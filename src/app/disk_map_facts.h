#pragma once
// What the session knows of the open drive, gathered for the disk map: its pools, and from the
// volume step on the selected pool's superblock and object tree, in the browse step the
// volume's B-tree blocks and files as well.
#include "app/session.h"
#include "picture/disk_facts.h"

namespace lumbra {

// Reads the partition table and headers again. While a worker runs, it owns the drive and the
// tables it fills: a scan's pools found so far and a mount's volume tree blocks come from what
// it offered (see LiveDiskFacts), the headers are not read and no file is gathered; the damage
// and the reads are there as ever. The facts refer to the session's records. No drive open: an
// empty disk.
DiskFacts SessionDiskFacts(Session& session);

}  // namespace lumbra
