#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/picture_source.h"
#include "cli/terminal_text.h"
#include "picture/disk_layout_index.h"
#include "recovery/folder_path.h"

namespace lumbra::cli {

namespace {

struct Question {
    std::vector<SectorRange> ranges;
    std::string error;
};

Question ReadQuestion(const ParsedArguments& arguments, const DamageMap* damage) {
    const auto sector = arguments.value("--sector");
    if (sector.has_value() == arguments.has("--damaged")) return {{}, "which takes either --sector S or --damaged"};
    if (arguments.has("--damaged")) {
        if (arguments.has("--count")) return {{}, "--count goes with --sector, not with --damaged"};
        return {damage ? damage->ranges() : std::vector<SectorRange>(), ""};
    }
    const auto first = ParseSectorArgument(*sector, 0, UINT64_MAX - 1);
    if (!first) return {{}, "--sector takes a sector number, not " + *sector};
    uint64_t count = 1;
    if (const auto text = arguments.value("--count")) {
        const auto parsed = ParseUnsigned(*text, 1, UINT64_MAX - *first);
        if (!parsed) return {{}, "--count takes a number of sectors from 1, not " + *text};
        count = *parsed;
    }
    return {{{*first, count}}, ""};
}

struct Answer {
    const DiskPicture& picture;
    const RecoveredTree* tree;
    const std::vector<SectorRange>& headerAreas;
};

// The first sector of the structure a partition-table or header hit lies in.
uint64_t StructureSector(const Answer& answer, const LayoutHit& hit) {
    if (hit.kind == PictureKind::PartitionHeader && hit.owner < answer.headerAreas.size())
        return answer.headerAreas[hit.owner].first;
    return 0;
}

bool IsPartitionStructure(const LayoutHit& hit) {
    return hit.kind == PictureKind::PartitionTable || hit.kind == PictureKind::PartitionHeader;
}

const char* StructureName(const LayoutHit& hit) {
    return hit.kind == PictureKind::PartitionTable ? "partition table" : "partition header";
}

void WriteJson(std::ostream& out, const Answer& answer, const DiskLayoutIndex& index, const std::vector<SectorRange>& ranges) {
    JsonWriter json(out);
    json.beginObject().key("ranges").beginArray();
    for (const SectorRange& range : ranges) {
        json.beginObject().key("firstSector").value(range.first).key("count").value(range.count).key("items").beginArray();
        for (const LayoutHit& hit : index.at(range.first, range.count)) {
            json.beginObject();
            if (IsPartitionStructure(hit)) {
                json.key("kind").value(StructureName(hit)).key("headerSector").value(StructureSector(answer, hit));
            } else if (hit.kind == PictureKind::Metadata) {
                const MetadataBlock& block = answer.picture.metadata()[hit.owner];
                json.key("kind").value("metadata").key("what").value(MetadataKindName(block.kind)).key("blockSector").value(block.sector);
            } else {
                const ItemRecord& file = answer.tree->files()[hit.owner];
                json.key("kind").value("file")
                    .key("itemNumber").value(file.itemNumber)
                    .key("name").value(NameUtf8(file))
                    .key("path").value(FullFilePath(*answer.tree, file));
            }
            json.key("firstSector").value(hit.firstSector).key("sectors").value(hit.sectors).endObject();
        }
        json.endArray().endObject();
    }
    json.endArray().endObject().finish();
}

void PrintText(std::ostream& out, const Answer& answer, const DiskLayoutIndex& index, const std::vector<SectorRange>& ranges) {
    for (const SectorRange& range : ranges) {
        out << "sectors " << range.first << "-" << range.end() - 1 << "\n";
        const auto hits = index.at(range.first, range.count);
        if (hits.empty()) out << "  no file or metadata block read lies here\n";
        for (const LayoutHit& hit : hits) {
            if (IsPartitionStructure(hit)) {
                out << "  " << StructureName(hit) << "\tat " << StructureSector(answer, hit);
            } else if (hit.kind == PictureKind::Metadata) {
                const MetadataBlock& block = answer.picture.metadata()[hit.owner];
                out << "  metadata\t" << MetadataKindName(block.kind) << " at " << block.sector;
            } else {
                const ItemRecord& file = answer.tree->files()[hit.owner];
                out << "  file\t" << TerminalUtf8(FullFilePath(*answer.tree, file));
            }
            out << "\tfrom sector " << hit.firstSector << "\t" << hit.sectors << " sector(s)\n";
        }
    }
}

int runWhich(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "which takes no arguments: " + arguments.positional.front());
    if (arguments.has("--sector") == arguments.has("--damaged"))
        return context.fail(kExitBadInput, "which takes either --sector S or --damaged");
    int exitCode = kExitOk;
    auto source = OpenPictureSource(context, arguments, exitCode);
    if (!source) return exitCode;
    const Question question = ReadQuestion(arguments, source->drive().damageMap());
    if (!question.error.empty()) return context.fail(kExitBadInput, question.error);
    const DiskFacts facts = source->facts();
    const DiskPicture picture = LayDiskOut(facts);
    const DiskLayoutIndex index(picture, true);
    const Answer answer{picture, facts.tree, facts.headerAreas};
    if (arguments.has("--json")) WriteJson(context.out, answer, index, question.ranges);
    else PrintText(context.out, answer, index, question.ranges);
    return kExitOk;
}

}  // namespace

Command WhichCommand() {
    std::vector<OptionSpec> options = PictureSourceOptions();
    options.push_back({"--sector", 1, false});
    options.push_back({"--count", 1, false});
    options.push_back({"--damaged", 0, false});
    return {"which", "list the files and metadata blocks that lie in a range of sectors, or in the damage",
            std::string("Usage: lumbra-nss-cli which SOURCE (--sector S [--count N] | --damaged) [--json]\n"
                        "Lists every file with data in sectors S to S+N-1 (N defaults to 1), every metadata\n"
                        "block read there and the partition table or header lying there, or the same for each\n"
                        "damaged area (--damaged): the sectors a --mapfile marks as never rescued and those this\n"
                        "run could not read. S is a sector number (decimal or 0x...), or a byte position ending\n"
                        "in b, as a mapfile counts (0x18D000b: the sector holding that byte).\n") +
                kPictureSourceHelp +
                "  --json   print {\"format\":1,\"ranges\":[{\"firstSector\",\"count\",\"items\":[{\"kind\":\"file\",\n"
                "           \"itemNumber\",\"name\",\"path\",\"firstSector\",\"sectors\"} or {\"kind\":\"metadata\",\"what\",\n"
                "           \"blockSector\",\"firstSector\",\"sectors\"} or {\"kind\":\"partition table\" or\n"
                "           \"partition header\",\"headerSector\",\"firstSector\",\"sectors\"}]}]}; firstSector\n"
                "           and sectors: the item's part of the range; headerSector: 0 for the table\n",
            options, runWhich};
}

}  // namespace lumbra::cli
