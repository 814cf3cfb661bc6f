#include "support/demo_image.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace lumbra::test {

namespace {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t x = (state_ += 0x9E3779B97F4A7C15ull);
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    uint64_t below(uint64_t n) { return next() % n; }
    template <typename List>
    const auto& pick(const List& list) { return list[below(std::size(list))]; }
    // A value spread evenly on a logarithmic scale between low and high.
    uint64_t logUniform(double low, double high) {
        const double u = static_cast<double>(next() >> 11) / 9007199254740992.0;
        return static_cast<uint64_t>(low * std::pow(high / low, u));
    }

private:
    uint64_t state_;
};

constexpr uint32_t kFirstDate = 883612800;    // 1998-01-01
constexpr uint32_t kLastDate = 1230681600;    // 2008-12-31

struct Kind {
    const char* extension;
    double low, high;  // size range in bytes
    int weight;
};

constexpr Kind kKinds[] = {
    {".txt", 50, 30e3, 12},  {".csv", 200, 60e3, 6},   {".doc", 8e3, 250e3, 20}, {".rtf", 4e3, 120e3, 4},
    {".xls", 6e3, 300e3, 16}, {".pdf", 20e3, 600e3, 7}, {".jpg", 30e3, 500e3, 12}, {".bmp", 20e3, 500e3, 2},
    {".png", 5e3, 200e3, 3},  {".ppt", 60e3, 900e3, 3}, {".zip", 40e3, 4e6, 1},   {".msg", 2e3, 80e3, 10},
};

const char* const kStems[] = {
    "Budget", "Report", "Invoice", "Meeting notes", "Minutes", "Contract", "Price list", "R\u00e9sum\u00e9",
    "Pr\u00e9sentation client", "\u00dcbersicht", "A\u00f1o fiscal", "Plan", "Memo", "Letter", "Offer", "Forecast",
    "Inventory", "Schedule", "Org chart", "Cr\u00e8me br\u00fbl\u00e9e recipe", "Caf\u00e9 order", "Employee handbook",
    "Travel expenses", "Quarterly review", "K\u00fcndigung", "Se\u00f1ales", "Na\u00efve notes", "Proposal",
    "Timesheet", "Customer list", "Fa\u00e7ade photos", "Stra\u00dfe plan", "Garantie", "Devis", "Bilan",
};

const char* const kDepartments[] = {
    "Accounting", "Marketing", "Human Resources", "Sales", "Engineering", "Legal", "IT",
    "Purchasing", "Direction G\u00e9n\u00e9rale", "Comptabilit\u00e9", "Ventes Export", "Gesch\u00e4ftsf\u00fchrung",
};

const char* const kTopics[] = {
    "Archive", "Reports", "Contracts", "Invoices", "Presentations", "Photos", "Templates", "Correspondance",
    "Budgets", "Projets", "\u00dcbersicht", "R\u00e9unions", "Scans", "Drafts", "Final", "Customers", "Suppliers",
};

const char* const kUsers[] = {
    "jdupont", "mmueller", "asmith", "lgarcia", "pnovak", "fdubois", "kschmidt", "rlopez",
    "emartin", "tjohnson", "cbernard", "hweber", "aramos", "jnielsen", "sbrown", "bj\u00f6rk",
};

const Kind& pickKind(Random& random) {
    int total = 0;
    for (const Kind& k : kKinds) total += k.weight;
    int roll = static_cast<int>(random.below(static_cast<uint64_t>(total)));
    for (const Kind& k : kKinds) {
        if (roll < k.weight) return k;
        roll -= k.weight;
    }
    return kKinds[0];
}

std::string fileName(Random& random, const Kind& kind, int serial) {
    const std::string ext = kind.extension;
    if (ext == ".jpg" && random.below(2)) return "IMG_" + std::to_string(1000 + serial) + ".jpg";
    if (ext == ".bmp" || ext == ".png") return "Scan " + std::to_string(serial) + ext;
    std::string name = random.pick(kStems);
    switch (random.below(3)) {
        case 0:
            name += ' ';
            name += std::to_string(1998 + random.below(11));
            break;
        case 1:
            name += ' ';
            name += std::to_string(serial);
            break;
        default: break;
    }
    return name + ext;
}

struct VolumeFiller {
    VolumePlan& volume;
    Random& random;
    int serial = 0;

    uint64_t folder(const std::string& name, uint64_t parent) {
        const uint64_t id = volume.addFolder(name, parent);
        volume.folders.back().time = date();
        return id;
    }
    void files(uint64_t parent, int count, double scale = 1.0) {
        for (int i = 0; i < count; ++i) {
            const Kind& kind = pickKind(random);
            const uint64_t size = random.logUniform(kind.low, kind.high * scale);
            volume.addFile(fileName(random, kind, ++serial), parent, size);
            volume.files.back().time = date();
        }
    }
    uint32_t date() { return kFirstDate + static_cast<uint32_t>(random.below(kLastDate - kFirstDate)); }
};

VolumePlan usersVolume(Random& random) {
    VolumePlan volume{.name = "USERS"};
    VolumeFiller fill{volume, random};
    for (const char* user : kUsers) {
        const uint64_t home = fill.folder(user, 0);
        fill.files(home, 3);
        for (const char* sub : {"Documents", "Pictures", "Mail", "Desktop"}) {
            const uint64_t folder = fill.folder(sub, home);
            fill.files(folder, 6 + static_cast<int>(random.below(10)));
            if (random.below(3) == 0) fill.files(fill.folder(std::to_string(2000 + random.below(8)), folder), 8);
        }
    }
    // Files whose sizes sit on the edges of a block.
    for (uint64_t size : {0u, 1u, 4095u, 4096u, 4097u, 8192u}) volume.addFile("edge-" + std::to_string(size) + ".bin", 0, size);
    return volume;
}

VolumePlan sharedVolume(Random& random) {
    VolumePlan volume{.name = "SHARED"};
    VolumeFiller fill{volume, random};
    for (const char* department : kDepartments) {
        const uint64_t top = fill.folder(department, 0);
        fill.files(top, 4);
        const int topics = 3 + static_cast<int>(random.below(5));
        for (int t = 0; t < topics; ++t) {
            std::string topicName = random.pick(kTopics);
            if (t) {
                topicName += ' ';
                topicName += std::to_string(t);
            }
            const uint64_t topic = fill.folder(topicName, top);
            fill.files(topic, 5 + static_cast<int>(random.below(15)));
            for (int y = 0; y < static_cast<int>(random.below(3)); ++y)
                fill.files(fill.folder(std::to_string(2001 + y), topic), 4 + static_cast<int>(random.below(8)));
        }
    }
    // Folders whose parent did not survive: two share one missing parent.
    for (const auto& [name, parent] : std::array<std::pair<const char*, uint64_t>, 3>{
             {{"Projekt M\u00fcnchen", 500001}, {"Old Quotes", 500001}, {"Sauvegarde", 500002}}})
        fill.files(fill.folder(name, parent), 6);
    volume.tree.recordsPerLeaf = 12;
    volume.damage = {{.leaf = 15, .kind = LeafDamageKind::ZeroLength, .atRecord = 4}};
    return volume;
}

VolumePlan archiveVolume(Random& random) {
    VolumePlan volume{.name = "ARCHIVE"};
    VolumeFiller fill{volume, random};
    for (int year = 1998; year <= 2005; ++year) {
        const uint64_t backup = fill.folder("Backup " + std::to_string(year), 0);
        for (int part = 0; part < 4; ++part)
            fill.files(fill.folder(random.pick(kTopics), backup), 10 + static_cast<int>(random.below(15)), 1.2);
    }
    return volume;
}

}  // namespace

DiskPlan demoImagePlan() {
    Random random(20040305);
    DiskPlan plan;
    plan.contentSeed = 0x44454D4F;  // "DEMO"
    plan.pools.push_back({.name = "OFFICE", .volumes = {usersVolume(random), sharedVolume(random)}});
    plan.pools.push_back({.name = "ARCHIVE",
                          .segments = {{.chainOrder = 9}, {.chainOrder = 7}, {.chainOrder = 8}},
                          .volumes = {archiveVolume(random)}});
    return plan;
}

}  // namespace lumbra::test
