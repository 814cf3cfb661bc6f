#pragma once
// A small breadth-first walk over a built B-tree, written from the on-disk tables alone, to
// check that the builder's trees hold together (branches, link records, leaves).
#include <set>
#include <string>
#include <vector>

#include "disk/byte_order.h"
#include "support/nss_image.h"

namespace lumbra::test {

struct WalkedRecord {
    uint64_t leafBlock = 0;
    size_t offset = 0;
    uint32_t type = 0;
    uint8_t kind = 0;
    std::string name;  // low bytes of the folder or file name
};

inline std::vector<WalkedRecord> walkTree(const NssImage& image, const BuiltPool& pool, uint64_t rootBlock) {
    std::vector<uint64_t> queue{rootBlock};
    std::set<uint64_t> seen{rootBlock};
    std::vector<WalkedRecord> records;
    const auto enqueue = [&](uint64_t block) {
        if (block && pool.toDiskSector(block * 8) && seen.insert(block).second) queue.push_back(block);
    };
    for (size_t q = 0; q < queue.size(); ++q) {
        const std::vector<uint8_t> b = image.readPoolBlock(pool, queue[q]);
        if (bytesEqual(b, 0, "BRCH")) {
            for (size_t at = 40; at < 4095; at += 12) {
                const uint32_t child = le32(b, at).value_or(0);
                if (child == 0) break;
                enqueue(child);
            }
            continue;
        }
        if (!bytesEqual(b, 0, "LEAF")) continue;
        for (size_t at = b[42] == 'N' ? 40 : 56;;) {
            const auto length = static_cast<int16_t>(le16(b, at).value_or(0));
            if (length <= 0 || at + length > 4095 || at + 20 > 4096) break;
            WalkedRecord r{queue[q], at, *le32(b, at + 4), b[at + 18], ""};
            if (r.type == 44) enqueue(*le32(b, at + 212));
            if (r.type == 3 && r.kind == 24) r.name = lowBytesOfUtf16(b, at + 142, b[at + 140]);
            if (r.type == 3 && r.kind == 8) r.name = lowBytesOfUtf16(b, at + 126, b[at + 124]);
            records.push_back(r);
            at += length;
        }
    }
    return records;
}

}  // namespace lumbra::test
