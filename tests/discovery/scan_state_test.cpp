// A scan state file is read back only when every field is within its bounds: a damaged or
// foreign file is told and ignored, never trusted.
#include <gtest/gtest.h>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "discovery/scan_state_store.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {
namespace {

const std::string kDrive = "device serial=WD-123 sectors=976773168";

ScanState TwoPools() {
    ScanState state{kDrive, {100, 1000000}, 60, 100 + 60 * 50, {}};
    PoolEntry lone{0, "DATA\xE9", 376984, 1, {2080}, {379064}};
    PoolEntry split{7, "ARCHIVE", 116040, 3, {380960, 419872, 458784}, {38880, 38880, 38280}};
    state.pools = {lone, split};
    return state;
}

nlohmann::json Document(const ScanState& state) { return nlohmann::json::parse(EncodeScanState(state)); }

std::string Problem(const nlohmann::json& document) {
    const ScanStateRead read = DecodeScanState(document.dump());
    return read.state ? std::string("accepted") : read.problem;
}

TEST(ScanState, RoundTripKeepsEveryField) {
    const ScanState state = TwoPools();
    const std::string text = EncodeScanState(state);
    EXPECT_EQ(text.rfind("{\"format\":1,", 0), 0u) << text;
    const ScanStateRead read = DecodeScanState(text);
    ASSERT_TRUE(read.state) << read.problem;
    EXPECT_EQ(read.state->driveIdentity, kDrive);
    EXPECT_EQ(read.state->range.startSector, 100u);
    EXPECT_EQ(read.state->range.endSector, 1000000u);
    EXPECT_EQ(read.state->sectorsPerRead, 60u);
    EXPECT_EQ(read.state->nextSector, 3100u);
    ASSERT_EQ(read.state->pools.size(), 2u);
    EXPECT_EQ(read.state->pools[0].name, "DATA\xE9");
    EXPECT_EQ(read.state->pools[1].segmentStart, (std::vector<uint32_t>{380960, 419872, 458784}));
    EXPECT_EQ(read.state->pools[1].segmentExtent, (std::vector<uint32_t>{38880, 38880, 38280}));
    EXPECT_EQ(read.state->pools[1].poolSize, 116040u);
    EXPECT_EQ(read.state->pools[1].treeItem, 0u);
}

TEST(ScanState, DamagedDocumentsAreRefused) {
    EXPECT_EQ(DecodeScanState("").problem, "it is not valid JSON");
    EXPECT_EQ(DecodeScanState("{\"format\":1,").problem, "it is not valid JSON");
    EXPECT_EQ(DecodeScanState("[1,2]").problem, "it is not a scan state");
    EXPECT_EQ(DecodeScanState(std::string(kMaxScanStateBytes + 1, ' ')).problem, "it is too large");
    const nlohmann::json good = Document(TwoPools());
    EXPECT_EQ(Problem(good), "accepted");

    struct Case {
        const char* what;
        std::function<void(nlohmann::json&)> change;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"other kind", [](auto& d) { d["kind"] = "settings"; }, "it is not a scan state"},
        {"later format", [](auto& d) { d["format"] = 2; }, "its format 2 is not known"},
        {"no drive", [](auto& d) { d.erase("drive"); }, "a field is missing or out of bounds"},
        {"drive not text", [](auto& d) { d["drive"] = 5; }, "a field is missing or out of bounds"},
        {"negative start", [](auto& d) { d["startSector"] = -1; }, "a field is missing or out of bounds"},
        {"end past 32 bits", [](auto& d) { d["endSector"] = 4294967296ull; }, "a field is missing or out of bounds"},
        {"fractional next", [](auto& d) { d["nextSector"] = 3100.5; }, "a field is missing or out of bounds"},
        {"101 per read", [](auto& d) { d["sectorsPerRead"] = 101; }, "a field is missing or out of bounds"},
        {"0 per read", [](auto& d) { d["sectorsPerRead"] = 0; }, "its sectors do not make a scan"},
        {"end before start", [](auto& d) { d["endSector"] = 100; }, "its sectors do not make a scan"},
        {"next before start", [](auto& d) { d["nextSector"] = 40; }, "its sectors do not make a scan"},
        {"next at end", [](auto& d) { d["nextSector"] = 1000000; }, "its sectors do not make a scan"},
        {"next off a run", [](auto& d) { d["nextSector"] = 3101; }, "its sectors do not make a scan"},
        {"pools not a list", [](auto& d) { d["pools"] = "x"; }, "its pool list is not valid"},
        {"name of 16", [](auto& d) { d["pools"][0]["name"] = std::string(32, 'a'); }, "its pool list is not valid"},
        {"name odd hex", [](auto& d) { d["pools"][0]["name"] = "414"; }, "its pool list is not valid"},
        {"name not hex", [](auto& d) { d["pools"][0]["name"] = "zz"; }, "its pool list is not valid"},
        {"50 segments", [](auto& d) { d["pools"][0]["segmentCount"] = 50; }, "its pool list is not valid"},
        {"starts short", [](auto& d) { d["pools"][1]["segmentStart"].erase(2); }, "its pool list is not valid"},
        {"extent past 32 bits", [](auto& d) { d["pools"][1]["segmentExtent"][0] = 4294967296ull; },
         "its pool list is not valid"},
        {"pool not object", [](auto& d) { d["pools"][0] = 1; }, "its pool list is not valid"},
    };
    for (const Case& c : cases) {
        nlohmann::json document = good;
        c.change(document);
        EXPECT_EQ(Problem(document), c.problem) << c.what;
    }
}

TEST(ScanState, LimitsHoldOnBothSides) {
    nlohmann::json document = Document(TwoPools());
    document["sectorsPerRead"] = 100;
    document["nextSector"] = 100 + 100 * 9;
    EXPECT_EQ(Problem(document), "accepted");
    document["nextSector"] = 999100;  // the last run's start below the end
    EXPECT_EQ(Problem(document), "accepted");
    document["pools"][0]["name"] = std::string(30, 'a');  // 15 characters
    EXPECT_EQ(Problem(document), "accepted");
    document["pools"][0]["segmentCount"] = 49;
    document["pools"][0]["segmentStart"] = std::vector<uint32_t>(49, 1);
    document["pools"][0]["segmentExtent"] = std::vector<uint32_t>(49, 1);
    EXPECT_EQ(Problem(document), "accepted");
    document["pools"] = std::vector<nlohmann::json>(48, document["pools"][1]);
    EXPECT_EQ(Problem(document), "accepted");
    document["pools"].push_back(document["pools"][0]);
    EXPECT_EQ(Problem(document), "its pool list is not valid");
}

TEST(ScanStateStore, ForeignAndDamagedFilesAreToldAndIgnored) {
    ScratchFolder folder("scan_state");
    const ScanStateStore store(folder.path().string());
    EXPECT_EQ(store.load(kDrive).ignoredBecause, "");  // no file: nothing to tell
    ASSERT_TRUE(store.save(TwoPools()));
    ASSERT_TRUE(store.load(kDrive).state);

    // The file of this drive holding another drive's state (copied, or a digest shared).
    ScanState other = TwoPools();
    other.driveIdentity = "device serial=OTHER sectors=1";
    WriteWholeFile(store.pathFor(kDrive), EncodeScanState(other));
    StoredScanState stored = store.load(kDrive);
    EXPECT_FALSE(stored.state);
    EXPECT_EQ(stored.ignoredBecause, "the scan state " + store.pathFor(kDrive) + " is ignored: it belongs to another drive");

    WriteWholeFile(store.pathFor(kDrive), "{\"format\":1,\"kind\":\"lumbra-nss scan st");
    stored = store.load(kDrive);
    EXPECT_FALSE(stored.state);
    EXPECT_EQ(stored.ignoredBecause, "the scan state " + store.pathFor(kDrive) + " is ignored: it is not valid JSON");
}

TEST(ScanStateStore, SaveReplacesWholeAndLeavesNoTemporaryFile) {
    ScratchFolder folder("scan_state");
    const ScanStateStore store((folder.path() / "made" / "here").string());
    ScanState state = TwoPools();
    ASSERT_TRUE(store.save(state));
    state.nextSector += 60;
    ASSERT_TRUE(store.save(state));
    EXPECT_EQ(store.load(kDrive).state->nextSector, state.nextSector);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "made" / "here")) {
        ++files;
        EXPECT_EQ(entry.path().extension(), ".json") << entry.path();
    }
    EXPECT_EQ(files, 1u);
    store.remove(kDrive);
    EXPECT_FALSE(std::filesystem::exists(store.pathFor(kDrive)));
}

// Root with a user's HOME (sudo -E) makes no folder of its own in that home: the state is not
// saved, and the store says why. In a home of the effective user the folders are made.
TEST(ScanStateStore, NoFolderIsMadeInAHomeOfAnotherUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    ScratchFolder folder("scan_state_home");
    struct Case {
        uid_t homeOwner;
        bool saved;
    };
    const uid_t someoneElse = 54321;
    for (const Case& one : {Case{::geteuid(), true}, Case{someoneElse, false}}) {
        const std::filesystem::path home = folder.path() / std::to_string(one.homeOwner);
        std::filesystem::create_directories(home);
        ASSERT_EQ(::chown(home.c_str(), one.homeOwner, one.homeOwner), 0);
        const ScanStateStore store((home / ".local/state/lumbra-nss").string());
        EXPECT_EQ(store.save(TwoPools()), one.saved) << one.homeOwner;
        EXPECT_EQ(std::filesystem::exists(home / ".local"), one.saved) << one.homeOwner;
        EXPECT_EQ(store.whyNotKept(), one.saved ? std::nullopt
                                                : std::optional<std::string>(home.string() + " belongs to another user "
                                                                             "than the one this program runs as"));
    }
    EXPECT_EQ(ScanStateStore("").whyNotKept(), "neither XDG_STATE_HOME nor HOME names a folder for it");
}

TEST(ScanStateStore, FolderFollowsXdgStateHome) {
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_STATE_HOME", "/var/x", 1);
    EXPECT_EQ(ScanStateStore::DefaultFolder(), "/var/x/lumbra-nss");
    setenv("XDG_STATE_HOME", "relative", 1);
    setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
    EXPECT_EQ(ScanStateStore::DefaultFolder(), std::string(std::getenv("HOME")) + "/.local/state/lumbra-nss");
    if (saved) setenv("XDG_STATE_HOME", keep.c_str(), 1);
    else unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace lumbra::test
