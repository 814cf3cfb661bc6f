#pragma once
// Whole files read and written at once, for tests that compare what landed on the disk.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumbra::test {

inline std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace lumbra::test
