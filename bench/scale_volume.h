#pragma once
// The builder volumes of the scale benchmarks: folders nest ten to a parent below 1,000
// top-level folders; each holds ten files, whose records follow one another as in a real
// B-tree, where records are keyed by their parent.
#include <string>
#include <vector>

#include "support/nss_image_builder.h"
#include "support/numbered_name.h"

namespace lumbra::bench {

inline test::VolumePlan ScaleVolume(uint32_t files) {
    const uint32_t folders = files / 10;
    test::VolumePlan volume{.name = "SCALE"};
    volume.folders.reserve(folders);
    volume.files.reserve(files);
    std::vector<uint64_t> ids;
    ids.reserve(folders);
    for (uint32_t i = 0; i < folders; ++i)
        ids.push_back(volume.addFolder(test::NumberedName("D", i), i < 1000 ? 0 : ids[(i - 1000) / 10]));
    for (uint32_t j = 0; j < files; ++j)
        volume.addFile(test::NumberedName("F", j) + ".DAT", ids[j / 10], 100 + j % 4000);
    return volume;
}

}  // namespace lumbra::bench
