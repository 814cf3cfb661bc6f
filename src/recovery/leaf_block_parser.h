#pragma once
// Turns the folder and file records of one 4096-byte B-tree leaf into recovered records.
#include "disk/byte_order.h"
#include "recovery/mount_context.h"

namespace lumbra {

// Parses the leaf in `block` (4096 bytes, "LEAF" already seen), admitting folder and file
// records into the tree and reporting each. With followLinks, the blocks named by link records
// are appended to the block queue. Stops at a record whose length is not positive, that ends
// past byte 4095, or whose fields lie past the block, and when a stop is requested.
void ParseLeafBlock(MountContext& context, ByteView block, bool followLinks);

}  // namespace lumbra
