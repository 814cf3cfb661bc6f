#pragma once
// The inside of a built image, shared by NssImage and the devices it hands out. Metadata sits
// in a sparse store; leaf blocks of volume B-trees and file data are regions rendered when read.
#include <cstdint>
#include <span>
#include <vector>

#include "support/nss_image.h"
#include "support/sparse_store.h"

namespace lumbra::test {

struct Region {
    uint64_t offset = 0;   // disk byte
    uint64_t length = 0;
    uint64_t logical = 0;  // byte within the file's data, or within the leaf block
    uint32_t pool = 0;
    uint32_t volume = 0;
    uint32_t item = 0;     // file index, or leaf index
    bool leaf = false;
};

struct VolumeRender {
    TreeShape shape;
    std::vector<LeafDamage> damage;
};

struct ImageData {
    uint64_t sizeBytes = 0;
    uint64_t contentSeed = 0;
    SparseStore store;
    std::vector<Region> regions;  // sorted by offset, not overlapping
    std::vector<RawPatch> patches;
    std::vector<BuiltPool> pools;
    std::vector<std::vector<VolumeRender>> render;  // [pool][volume]
};

// Writes leaf `leaf` of a volume's B-tree into a 4096-byte block.
void renderLeaf(const ImageData& image, uint32_t pool, uint32_t volume, uint32_t leaf, std::span<uint8_t> block);

// Bytes [offset, offset + out.size()) of the image; zeros past its end.
void readImage(const ImageData& image, uint64_t offset, std::span<uint8_t> out);

}  // namespace lumbra::test
