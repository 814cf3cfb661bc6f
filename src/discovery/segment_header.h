#pragma once
// Finding a segment's partition header from where its data begins, for pools known without
// the header chain that led to them (a snapshot's pool, a pool a scan found).
#include <cstdint>
#include <vector>

#include "disk/sector_reader.h"

namespace lumbra {

// How far before a segment's data its partition header is looked for. The distance the data
// start marker gives is far shorter on every pool seen; the bound keeps a hostile one cheap.
constexpr uint32_t kHeaderWindow = 4096;

// The sectors within kHeaderWindow before dataStart that carry the partition signature and
// whose segment data begins at dataStart, the nearest first. The window is read in one run.
std::vector<uint64_t> HeadersLeadingTo(SectorReader& reader, uint64_t dataStart);

}  // namespace lumbra
