#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "discovery/volume_discovery.h"
#include "recovery/mounted_image.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::MountedImage;
using test::VolumePlan;

// The local file system, with no inputs to guard.
PosixDestinationFiles files;

std::string MessageOf(const std::optional<SnapshotSaveError>& error) { return error ? error->message : std::string(); }

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

VolumePlan SampleVolume() {
    VolumePlan volume{.name = "DATA"};
    uint64_t docs = volume.addFolder("Documents");
    volume.addFolder("Letters", docs);
    volume.addFile("Report.doc", docs, 12345);
    volume.addFile("Caf\u00e9.xls", 0, 70000);
    volume.folders.push_back({.id = 2000, .parent = 555, .name = "Orphan"});
    volume.addFile("Lost.txt", 777, 10);
    return volume;
}

SnapshotState StateOf(MountedImage& mounted, RecoveryMode mode) {
    SnapshotState state;
    state.pool = mounted.pool;
    BlockQueue queue;
    DiscoverVolumes(mounted.reader, mounted.pool, mode, state.objectTree, state.volumes, queue);
    return state;
}

TEST(SnapshotFile, SaveLoadSaveGivesTheSameBytes) {
    MountedImage mounted(test::BuildVolume(SampleVolume()));
    mounted.MountVolumeBased();
    test::ScratchFolder folder("snapshot");
    const std::string first = folder.file("FIRST.QVDX"), second = folder.file("SECOND.QVDX");
    const SnapshotState state = StateOf(mounted, RecoveryMode::VolumeBased);
    ASSERT_EQ(state.volumes.count(), 1u);
    ASSERT_FALSE(SaveSnapshot(files, first, state, mounted.tree).has_value());

    auto result = LoadSnapshotFile(first);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    const LoadedSnapshot& loaded = std::get<LoadedSnapshot>(result);
    test::ExpectMountedAsBuilt(loaded.records, test::NssImage::expectedMount(mounted.builtVolume()));
    ASSERT_FALSE(SaveSnapshot(files, second, loaded.state, loaded.records).has_value());
    EXPECT_EQ(FileBytes(first), FileBytes(second));
}

TEST(SnapshotFile, APoolBasedSnapshotHoldsOneVolumeNamedLikeThePool) {
    MountedImage mounted(test::BuildVolume(SampleVolume()));
    mounted.MountPoolBased();
    const SnapshotState state = StateOf(mounted, RecoveryMode::PoolBased);
    auto bytes = EncodeSnapshot(state, mounted.tree);
    ASSERT_TRUE(bytes.has_value());
    auto loaded = std::get<LoadedSnapshot>(DecodeSnapshot(*bytes));
    ASSERT_EQ(loaded.state.volumes.count(), 1u);
    EXPECT_EQ(loaded.state.volumes[0].name, "POOL");
    EXPECT_EQ(loaded.records.files().size(), mounted.tree.files().size());
}

TEST(SnapshotFile, SavingNextToAChosenFileLeavesThatFileAlone) {
    test::ScratchFolder folder("snapshot");
    std::ofstream(folder.path() / "scan") << "mine";
    const std::string path = SnapshotSavePath(folder.file("scan"));
    EXPECT_EQ(path, folder.file("SCAN.QVDX"));
    MountedImage mounted(test::BuildVolume(SampleVolume()));
    ASSERT_FALSE(SaveSnapshot(files, path, StateOf(mounted, RecoveryMode::VolumeBased), mounted.tree).has_value());
    EXPECT_EQ(FileBytes(folder.path() / "scan"), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(SnapshotFile, ANewSnapshotTakesTheModeTheUmaskLeaves) {
    test::ScratchFolder folder("snapshot");
    MountedImage mounted(test::BuildVolume(SampleVolume()));
    const SnapshotState state = StateOf(mounted, RecoveryMode::VolumeBased);
    const mode_t previous = ::umask(0);
    for (const auto& [mask, mode] : {std::pair<mode_t, fs::perms>{022, fs::perms(0644)}, {002, fs::perms(0664)},
                                     {077, fs::perms(0600)}}) {
        ::umask(mask);
        const std::string path = folder.file("MODE" + std::to_string(mask) + ".QVDX");
        ASSERT_FALSE(SaveSnapshot(files, path, state, mounted.tree).has_value());
        EXPECT_EQ(fs::status(path).permissions(), mode) << "umask " << mask;
    }
    ::umask(previous);
}

TEST(SnapshotFile, AFailedSaveLeavesTheExistingSnapshotWhole) {
    test::ScratchFolder folder("snapshot");
    const std::string path = folder.file("KEEP.QVDX");
    std::ofstream(path) << "previous snapshot";
    SnapshotState unwritable;
    unwritable.pool.name = std::string(30, 'P');
    EXPECT_EQ(MessageOf(SaveSnapshot(files, path, unwritable, RecoveredTree{})), "Unable to save the recovery snapshot.");
    EXPECT_EQ(FileBytes(path).size(), 17u);
    EXPECT_EQ(MessageOf(SaveSnapshot(files, folder.file("missing/X.QVDX"), SnapshotState{}, RecoveredTree{})),
              "Unable to save the recovery snapshot.");
}

// A folder with the snapshot's name is never replaced: the save reports it and leaves neither
// the folder changed nor a temporary file behind.
TEST(SnapshotFile, ASaveOntoAFolderLeavesItAndNoTemporaryFile) {
    test::ScratchFolder folder("snapshot_rename");
    const std::string path = folder.file("TAKEN.QVDX");
    fs::create_directory(path);
    std::ofstream(path + "/inside") << "kept";
    EXPECT_EQ(MessageOf(SaveSnapshot(files, path, SnapshotState{}, RecoveredTree{})), "Unable to save the recovery snapshot.");
    EXPECT_EQ(FileBytes(path + "/inside").size(), 4u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// A real full disk: a tmpfs of 64 KiB. Needs the right to mount; skipped without it.
TEST(SnapshotFile, ASaveThatFillsTheDiskLeavesTheExistingSnapshotWhole) {
    test::ScratchFolder folder("snapshot_tmpfs");
    if (::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    const std::string path = folder.file("KEEP.QVDX");
    std::ofstream(path) << "previous snapshot";
    RecoveredTree many;
    for (uint64_t i = 0; i < 3000; ++i) many.AddFileRecord("FILE" + std::to_string(i), i + 1, 0, i, 0, 0, 1, 0);
    const auto error = SaveSnapshot(files, path, SnapshotState{}, many);
    const auto kept = FileBytes(path);
    const auto entries = std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator());
    ::umount(folder.path().c_str());
    EXPECT_EQ(MessageOf(error), "Unable to save the recovery snapshot.");
    EXPECT_EQ(kept.size(), 17u);
    EXPECT_EQ(entries, 1);  // no temporary file left behind
}

// A snapshot on a read-only file system loads: the file is opened for reading only. Needs the
// right to mount; skipped without it.
TEST(SnapshotFile, ASnapshotOnAReadOnlyFileSystemLoads) {
    test::ScratchFolder folder("snapshot_readonly");
    if (::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    MountedImage mounted(test::BuildVolume(SampleVolume()));
    mounted.MountVolumeBased();
    const std::string path = folder.file("RO.QVDX");
    const bool saved = !SaveSnapshot(files, path, StateOf(mounted, RecoveryMode::VolumeBased), mounted.tree).has_value();
    const bool readOnly = ::mount(nullptr, folder.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    const auto result = LoadSnapshotFile(path);
    ::umount(folder.path().c_str());
    ASSERT_TRUE(saved && readOnly);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    EXPECT_EQ(std::get<LoadedSnapshot>(result).records.files().size(), mounted.tree.files().size());
}

TEST(SnapshotFile, AFileThatCannotBeOpenedIsReportedNotLoaded) {
    auto result = LoadSnapshotFile("/nonexistent/lumbra/X.QVDX");
    ASSERT_TRUE(std::holds_alternative<SnapshotLoadError>(result));
    EXPECT_EQ(std::get<SnapshotLoadError>(result).kind, SnapshotLoadError::Kind::Unreadable);
}

}  // namespace
}  // namespace lumbra
