#include "cli/metadata_warning.h"

namespace lumbra::cli {

uint64_t UnreadableMetadataSectors(const SectorReader& reader) {
    const DamageMap* damage = reader.damageMap();
    return damage ? damage->metadataDamage().sectors : 0;
}

void WarnUnreadableMetadata(CliContext& context, const SectorReader& reader, bool poolBased) {
    const DamageMap* damage = reader.damageMap();
    if (!damage) return;
    const MetadataDamage metadata = damage->metadataDamage();
    if (metadata.sectors == 0) return;
    context.err << "lumbra-nss-cli: warning: " << metadata.sectors << " metadata sector(s) could not be read (first: sector "
                << metadata.firstSector << "); some folders or files may be missing"
                << (poolBased ? "" : "; try --pool-based") << "\n";
}

}  // namespace lumbra::cli
