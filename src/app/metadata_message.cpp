#include "app/metadata_message.h"

namespace lumbra {

std::string UnreadableMetadataMessage(const MetadataDamage& damage, bool poolBased) {
    if (damage.sectors == 0) return {};
    return std::to_string(damage.sectors) + " metadata sector(s) could not be read (first: sector " +
           std::to_string(damage.firstSector) + "); some folders or files may be missing" +
           (poolBased ? "" : "; try Pool Based recovery");
}

}  // namespace lumbra
