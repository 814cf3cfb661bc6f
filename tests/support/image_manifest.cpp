#include "support/image_manifest.h"

#include <cstdio>
#include <unordered_set>

#include "support/sha256.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace {

// Names in the manifest are the 8-bit names the tool reads, shown as Latin-1 in UTF-8.
std::string quoted(std::string_view latin1) {
    std::string out = "\"";
    for (char c : utf8FromLatin1(latin1)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void writeFiles(const NssImage& image, const BuiltPool& pool, const BuiltVolume& volume, std::ostream& out) {
    const ExpectedMount mount = NssImage::expectedMount(volume);
    out << "      \"folders\": " << mount.folders.size() << ",\n      \"files\": [\n";
    std::unordered_set<int> found;
    for (size_t i = 0; i < mount.files.size(); ++i) {
        const ExpectedItem& f = mount.files[i];
        found.insert(f.source);
        const BuiltFile& built = volume.files[static_cast<size_t>(f.source)];
        out << "        {\"path\": " << quoted(f.path.empty() ? "?/" + f.name : f.path) << ", \"size\": " << f.size
            << ", \"objectId\": " << f.objectId << ", \"firstBlock\": " << f.firstBlock << ", \"blockCount\": " << f.blockCount
            << ", \"time\": " << f.time << ", \"sha256\": \"" << Sha256::hex(image.consecutiveContent(pool, built)) << "\"}"
            << (i + 1 < mount.files.size() ? ",\n" : "\n");
    }
    out << "      ],\n      \"notFound\": [";
    bool first = true;
    for (size_t i = 0; i < volume.files.size(); ++i) {
        if (found.count(static_cast<int>(i))) continue;
        out << (first ? "\n" : ",\n") << "        " << quoted(volume.files[i].expectedName());
        first = false;
    }
    out << (first ? "]\n" : "\n      ]\n");
}

}  // namespace

void writeManifest(const NssImage& image, std::ostream& out) {
    out << "{\n  \"sizeBytes\": " << image.sizeBytes() << ",\n  \"contentSeed\": " << image.contentSeed() << ",\n  \"pools\": [\n";
    for (size_t p = 0; p < image.pools().size(); ++p) {
        const BuiltPool& pool = image.pools()[p];
        out << "    {\"name\": " << quoted(pool.expectedName) << ", \"poolSize\": " << pool.poolSize
            << ", \"superblockSector\": " << pool.superblockSector << ", \"treeRootSector\": " << pool.treeRootSector
            << ",\n     \"segments\": [";
        for (size_t s = 0; s < pool.segments.size(); ++s) {
            const BuiltSegment& seg = pool.segments[s];
            out << (s ? ", " : "") << "{\"number\": " << seg.number << ", \"headerSector\": " << seg.headerSector
                << ", \"dataStart\": " << seg.dataStart << ", \"extent\": " << seg.extent << "}";
        }
        out << "],\n     \"volumes\": [\n";
        for (size_t v = 0; v < pool.volumes.size(); ++v) {
            const BuiltVolume& volume = pool.volumes[v];
            out << "    {\n      \"name\": " << quoted(volume.expectedName) << ",\n      \"rootSector\": " << volume.rootSector << ",\n";
            writeFiles(image, pool, volume, out);
            out << "    }" << (v + 1 < pool.volumes.size() ? ",\n" : "\n");
        }
        out << "    ]}" << (p + 1 < image.pools().size() ? ",\n" : "\n");
    }
    out << "  ]\n}\n";
}

}  // namespace lumbra::test
