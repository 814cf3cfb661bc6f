// make-scale-image OUTPUT_PATH FILES
// Writes a sparse disk image of one pool with the scale benchmarks' volume of FILES files (one
// folder per ten). The files are empty: their records, not their data, are what a mount holds
// in memory. Exit codes: 0 done, 1 the file could not be written, 2 bad arguments.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "scale_volume.h"

int main(int argc, char** argv) {
    char* end = nullptr;
    const unsigned long files = argc == 3 ? std::strtoul(argv[2], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || files == 0 || files > 10'000'000) {
        std::cerr << "usage: make-scale-image OUTPUT_PATH FILES\n";
        return 2;
    }
    lumbra::test::VolumePlan volume = lumbra::bench::ScaleVolume(static_cast<uint32_t>(files));
    for (auto& file : volume.files) file.size = 0;
    try {
        lumbra::test::NssImageBuilder().pool({.name = "SCALE", .volumes = {std::move(volume)}}).build().writeTo(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "make-scale-image: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
