// make-demo-image OUTPUT_PATH [--manifest PATH]
// Writes the bundled demo disk as a sparse image file, and optionally a JSON manifest of every
// file on it. Exit codes: 0 done, 1 a file could not be written, 2 bad arguments, 3 internal error.
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "support/demo_image.h"
#include "support/image_manifest.h"
#include "support/nss_image_builder.h"

namespace {

int usage() {
    std::cerr << "usage: make-demo-image OUTPUT_PATH [--manifest PATH]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string output, manifest;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--manifest") == 0 && i + 1 < argc) manifest = argv[++i];
        else if (argv[i][0] == '-' || !output.empty()) return usage();
        else output = argv[i];
    }
    if (output.empty()) return usage();

    lumbra::test::NssImage image = [] {
        try {
            return lumbra::test::buildImage(lumbra::test::demoImagePlan());
        } catch (const std::exception& e) {
            std::cerr << "make-demo-image: the demo disk could not be laid out: " << e.what() << "\n";
            std::exit(3);
        }
    }();
    try {
        image.writeTo(output);
    } catch (const std::exception& e) {
        std::cerr << "make-demo-image: " << e.what() << "\n";
        return 1;
    }
    if (!manifest.empty()) {
        std::ofstream out(manifest);
        lumbra::test::writeManifest(image, out);
        out.close();
        if (!out) {
            std::cerr << "make-demo-image: cannot write " << manifest << "\n";
            return 1;
        }
    }
    size_t folders = 0, files = 0;
    for (const auto& pool : image.pools())
        for (const auto& volume : pool.volumes) {
            folders += volume.folders.size();
            files += volume.files.size();
        }
    std::cout << output << ": " << image.sizeBytes() << " bytes, " << image.pools().size() << " pools, " << folders
              << " folders, " << files << " files\n";
    return 0;
}
