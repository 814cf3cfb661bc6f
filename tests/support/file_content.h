#pragma once
// The deterministic content of test files: byte i of file `fileId` under `seed` depends only on
// (seed, fileId, i), so tests compare extracted bytes without storing them.
#include <cstdint>
#include <span>
#include <vector>

namespace lumbra::test {

// Writes bytes [offset, offset + out.size()) of the file's content into out.
void fillFileContent(uint64_t seed, uint64_t fileId, uint64_t offset, std::span<uint8_t> out);

std::vector<uint8_t> fileContent(uint64_t seed, uint64_t fileId, uint64_t size);

}  // namespace lumbra::test
