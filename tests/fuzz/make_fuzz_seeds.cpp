// make-fuzz-seeds FOLDER
// Writes the seed corpora of the fuzz targets into FOLDER/TARGET/: small disks from the image
// builder and the demo disk with its file data left out, a snapshot of each mounted, the
// program's own markup and a few rescue maps. Images end at their last non-zero byte, since a
// reader sees zeros past the end of a fuzz image anyway.
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "disk/device_sector_reader.h"
#include "recovery/volume_mount.h"
#include "snapshot/snapshot_writer.h"
#include "support/demo_image.h"
#include "support/nss_image_builder.h"
#include "toolkit/help_button_texts.h"
#include "toolkit/window_information.h"

using namespace lumbra;
using namespace lumbra::test;

namespace {

namespace fs = std::filesystem;

void WriteSeed(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}

std::vector<uint8_t> WithOption(uint8_t option, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> seed{option};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    return seed;
}

std::vector<uint8_t> Trimmed(const NssImage& image) {
    std::vector<uint8_t> bytes = image.bytes();
    while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
    return bytes;
}

VolumePlan SmallVolume(std::string name, int folders, int filesPerFolder) {
    VolumePlan volume{.name = std::move(name)};
    for (int f = 0; f < folders; ++f) {
        const uint64_t folder = volume.addFolder("Folder" + std::to_string(f), f == 0 ? 0 : volume.nextId - 1);
        for (int i = 0; i < filesPerFolder; ++i)
            volume.addFile("File" + std::to_string(i) + (i % 2 ? ".TXT" : ".doc"), folder, 0);
    }
    // Two files with data, one of them in pieces; the others are empty so that the seed stays
    // small (a mount reads no file data).
    volume.addFile("Caf\u00e9 root.xls", 0, 5000);
    volume.files.push_back({.parent = 0, .name = "Pieces.bin", .size = 3 * 4096, .fragments = 3});
    return volume;
}

SegmentPlan Segment(uint32_t headerSector, uint32_t extent = 0, std::optional<int> chainOrder = std::nullopt) {
    return {.headerSector = headerSector, .extent = extent, .chainOrder = chainOrder};
}

// The demo disk's plan with every file emptied, so that only its structures take room.
DiskPlan DemoStructures() {
    DiskPlan plan = demoImagePlan();
    plan.pools.at(0).segments = {Segment(16)};
    for (PoolPlan& pool : plan.pools) {
        for (VolumePlan& volume : pool.volumes)
            for (FilePlan& file : volume.files) {
                file.size = 0;
                file.runs.clear();
                file.fragments = 1;
            }
    }
    return plan;
}

std::vector<std::pair<std::string, NssImage>> Disks() {
    std::vector<std::pair<std::string, NssImage>> disks;
    disks.emplace_back("one_volume", NssImageBuilder()
                                         .pool({.name = "POOL", .segments = {Segment(16)},
                                                .volumes = {SmallVolume("DATA", 3, 4)}})
                                         .build());
    disks.emplace_back("two_pools", NssImageBuilder()
                                        .pool({.name = "FIRST", .segments = {Segment(16)},
                                               .volumes = {SmallVolume("A", 2, 2), SmallVolume("B", 1, 3)}})
                                        .pool({.name = "SECOND", .segments = {Segment(400)},
                                               .volumes = {SmallVolume("C", 1, 1)}})
                                        .build());
    disks.emplace_back("segmented", NssImageBuilder()
                                        .pool({.name = "SPLIT",
                                               .segments = {Segment(16, 64, 2), Segment(120, 64, 0), Segment(240, 96, 1)},
                                               .volumes = {SmallVolume("PARTS", 2, 3)}})
                                        .build());
    VolumePlan linked = SmallVolume("LINKED", 4, 6);
    linked.tree = {.recordsAt40 = false, .recordsPerLeaf = 5, .links = TreeLinks::LinkRecords,
                   .leafLinksToItself = true};
    disks.emplace_back("link_records", NssImageBuilder()
                                           .pool({.name = "LINKS", .segments = {Segment(16)}, .volumes = {linked}})
                                           .build());
    VolumePlan branched = SmallVolume("BRANCHED", 4, 6);
    branched.tree = {.recordsPerLeaf = 3, .branchFanout = 4, .branchLinksToRoot = true};
    disks.emplace_back("branches", NssImageBuilder()
                                       .pool({.name = "TREES", .segments = {Segment(16)}, .volumes = {branched}})
                                       .build());
    disks.emplace_back("no_table", NssImageBuilder()
                                       .noMbr()
                                       .pool({.name = "LOST", .segments = {Segment(16)},
                                              .volumes = {SmallVolume("GONE", 1, 2)}})
                                       .build());
    disks.emplace_back("demo", buildImage(DemoStructures()));
    return disks;
}

// The snapshot the front ends save after mounting the first volume of the first pool.
std::optional<std::vector<uint8_t>> SnapshotOf(const NssImage& image) {
    DeviceSectorReader reader(image.device());
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    SnapshotState state;
    const auto pool = SelectPool(pools, 0);
    if (!pool) return std::nullopt;
    state.pool = *pool;
    BlockQueue queue;
    DiscoverVolumes(reader, state.pool, RecoveryMode::VolumeBased, state.objectTree, state.volumes, queue);
    if (state.volumes.empty()) return std::nullopt;
    RecoveredTree tree;
    NoMountEvents events;
    std::atomic<int32_t> stop{0};
    MountContext context{reader, state.pool, queue, tree, events, stop};
    MountVolume(context, {1, state.volumes[0].rootSector});
    return EncodeSnapshot(state, tree);
}

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

void WriteMarkupSeeds(const fs::path& folder) {
    WindowInformation window{.className = "Button", .title = "&Next >", .handle = 0x1234, .controlId = 12};
    const std::vector<std::string> texts = {
        kHelpButtonAText,
        kHelpButtonBText,
        WindowInformationMarkup(window),
        "<b>bold</b> <i>italic</i> <u>under</u> <s>struck</s><br><p align=center>centred</p>",
        "<a href=\"https://example.org\">link</a> <a msg=\"next\">message</a><hr width=50% size=3>",
        "<font face=Arial size=14pt color=#FF0000 bgcolor=yellow>big</font>&lt;&amp;&nbsp;&#65;",
        "<table width=200 border=1><tr><td colspan=2>a</td></tr><tr><td>b</td><td rowspan=2>c</td></tr></table>",
        "<style>h1{color:blue;font-size:20pt}</style><h1>Title</h1><h2>Sub</h2><ul><li>one<li>two</ul>",
        "<img idres=159 cx=32 cy=32 width=50% height=200%><ilst handle=7 cx=16 cy=16 speed=3><t>tab<t>",
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        WriteSeed(folder, "text" + std::to_string(i), WithOption(0, Bytes(texts[i])));
        WriteSeed(folder, "narrow" + std::to_string(i), WithOption(40, Bytes(texts[i])));
    }
}

void WriteRescueMapSeeds(const fs::path& folder) {
    const std::vector<std::string> maps = {
        "# Mapfile\n# current_pos  current_status  current_pass\n0x00120000     +               1\n"
        "#      pos        size  status\n0x00000000  0x00100000  +\n0x00100000  0x00000400  -\n"
        "0x00100400  0x0000FC00  *\n0x00110000  0x00010000  /\n0x00120000  0x000E0000  ?\n",
        "0 ?\n0 1048576 +\n",
        "0x0 F 2\r\n0x0 0x200 -\r\n0x200 0x1000 +\r\n0x2000 0x10 -\r\n",
        "# annotated\n010000 ? 1 2 # status\n0  02000  +  # 0 B\n+02000 01000 -\t# bad\n+1536 +512 / #\n",
    };
    for (size_t i = 0; i < maps.size(); ++i) {
        std::vector<uint8_t> seed = {0x00, 0x00, 0x20, 0x00};  // a 2 MiB image
        const std::vector<uint8_t> text = Bytes(maps[i]);
        seed.insert(seed.end(), text.begin(), text.end());
        WriteSeed(folder, "map" + std::to_string(i), seed);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-fuzz-seeds FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    try {
        for (const auto& [name, image] : Disks()) {
            const std::vector<uint8_t> bytes = Trimmed(image);
            WriteSeed(root / "fuzz_partitions", name, bytes);
            WriteSeed(root / "fuzz_volume_discovery", name, bytes);
            WriteSeed(root / "fuzz_signature_scan", name, WithOption(0x80 | 99, bytes));
            WriteSeed(root / "fuzz_signature_scan", name + "_by_7", WithOption(6, bytes));
            WriteSeed(root / "fuzz_mount", name + "_volume", WithOption(0, bytes));
            WriteSeed(root / "fuzz_mount", name + "_second_volume", WithOption(2, bytes));
            WriteSeed(root / "fuzz_mount", name + "_pool", WithOption(1, bytes));
            if (auto snapshot = SnapshotOf(image)) WriteSeed(root / "fuzz_snapshot", name, *snapshot);
        }
        WriteMarkupSeeds(root / "fuzz_markup");
        WriteRescueMapSeeds(root / "fuzz_rescue_map");
    } catch (const std::exception& e) {
        std::cerr << "make-fuzz-seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
