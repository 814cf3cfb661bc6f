#pragma once
#include <cstddef>
#include <cstdint>

namespace lumbra {

// The only sector size: every sector number counts 512-byte sectors.
constexpr size_t kSectorSize = 512;
// A pool block is 8 sectors; pool block b is pool-relative sector 8b.
constexpr size_t kBlockSize = 4096;
constexpr uint32_t kSectorsPerBlock = 8;

}  // namespace lumbra
