#pragma once
// The message after a mount that met on-disk structures it could not read: folders, files or
// whole pools may be missing without any other sign.
#include <string>

#include "disk/damage_map.h"

namespace lumbra {

// "N metadata sector(s) could not be read (first: sector S); some folders or files may be
// missing; try Pool Based recovery" (without the advice after a Pool Based mount); empty when
// no such sector was met.
std::string UnreadableMetadataMessage(const MetadataDamage& damage, bool poolBased);

}  // namespace lumbra
