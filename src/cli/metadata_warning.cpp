#include "cli/metadata_warning.h"

#include "picture/disk_facts.h"

namespace lumbra::cli {

uint64_t UnreadableMetadataSectors(const SectorReader& reader) {
    const DamageMap* damage = reader.damageMap();
    return damage ? damage->metadataDamage().sectors : 0;
}

namespace {

// True when any of the ranges lies in the pool's data, where a walk of the whole pool finds
// what the lost structures led to.
bool InsidePool(const std::vector<SectorRange>& ranges, const SelectedPool& pool) {
    for (const SectorRange& area : PoolAreas(pool))
        for (const SectorRange& range : ranges)
            if (range.first < area.end() && area.first < range.end()) return true;
    return false;
}

}  // namespace

void WarnUnreadableMetadata(CliContext& context, const SectorReader& reader, const SelectedPool* pool, bool poolBased) {
    const DamageMap* damage = reader.damageMap();
    if (!damage) return;
    const MetadataDamage metadata = damage->metadataDamage();
    if (metadata.sectors == 0) return;
    const bool advise = pool && !poolBased && InsidePool(damage->metadataRanges(), *pool);
    context.err << "lumbra-nss-cli: warning: " << metadata.sectors << " metadata sector(s) could not be read (first: sector "
                << metadata.firstSector << "); some folders or files may be missing"
                << (advise ? "; try --pool-based" : "") << "\n";
}

}  // namespace lumbra::cli
