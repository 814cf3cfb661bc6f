// The Disk Map window while a scan or a mount runs: held at the test's own points of the
// worker's progress, the window, stepped by hand, shows the position read, the pools found so
// far, the volume tree blocks queued and the damage met; it makes its picture again only when
// the worker offered something new since its last step, and the worker goes on to its end
// while the window does nothing.
#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "app/wizard_fixture.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "gui/disk_map_window.h"
#include "gui/saving_window.h"
#include "picture/disk_facts.h"
#include "support/faulty_device.h"

namespace lumbra::test {
namespace {

// Holds the worker inside a view call until the test lets it go on.
class WorkerPause {
public:
    void hold() {
        std::unique_lock lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_; });
    }
    // False when the worker was not held within a minute (it ran past the point).
    bool waitHeld() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] { return held_; });
    }
    void release() {
        const std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
};

// Reads through `inner`, and holds the reading thread once, just after the read that took in
// `sector`.
class HoldingReader : public SectorReader {
public:
    HoldingReader(SectorReader& inner, uint64_t sector, WorkerPause& pause)
        : inner_(inner), sector_(sector), pause_(pause) {}
    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        const int result = inner_.ReadSectors(sector, count, buffer);
        if (!held_ && sector <= sector_ && sector_ - sector < count) {
            held_ = true;
            pause_.hold();
        }
        return result;
    }
    std::optional<uint64_t> sectorCount() const override { return inner_.sectorCount(); }
    DamageMap* damageMap() const override { return inner_.damageMap(); }
    ReadCoverage* readCoverage() const override { return inner_.readCoverage(); }

private:
    SectorReader& inner_;
    uint64_t sector_;
    WorkerPause& pause_;
    bool held_ = false;
};

std::optional<uint64_t> ScanPosition(const DiskPicture& picture) {
    for (const PictureSpan& span : picture.spans())
        if (span.kind == PictureKind::ScanPosition) return span.first;
    return std::nullopt;
}

std::vector<uint64_t> SpanStarts(const DiskPicture& picture, PictureKind kind) {
    std::vector<uint64_t> starts;
    for (const PictureSpan& span : picture.spans())
        if (span.kind == kind) starts.push_back(span.first);
    return starts;
}

std::set<uint64_t> MetadataSectors(const DiskPicture& picture, MetadataKind kind) {
    std::set<uint64_t> sectors;
    for (const MetadataBlock& block : picture.metadata())
        if (block.kind == kind) sectors.insert(block.sector);
    return sectors;
}

class DiskMapLive : public WizardTest {
protected:
    // The worker is held at the first view text `when` accepts after `phase` was set to it.
    void HoldAt(int phase) { phase_.store(phase); }
    void HoldWhen(std::function<bool(int phase, Element, const std::string&)> when) {
        view.onSetText = [this, when = std::move(when)](Element element, const std::string& text) {
            const int phase = phase_.load();
            if (phase == 0 || !when(phase, element, text)) return;
            phase_.store(0);
            pause_.hold();
        };
    }
    // Lets the held worker go on until it is held again at `phase`.
    bool GoOnTo(int phase) {
        HoldAt(phase);
        pause_.release();
        return pause_.waitHeld();
    }
    void GoOnToTheEnd() {
        HoldAt(0);
        pause_.release();
    }
    // The window over the session, its timer stopped: the test takes each of its steps.
    std::unique_ptr<DiskMapWindow> OpenMap() {
        auto map = std::make_unique<DiskMapWindow>(session, *wizard, nullptr);
        map->timer().stop();
        return map;
    }

    std::atomic<int> phase_{0};
    WorkerPause pause_;
};

TEST_F(DiskMapLive, TheScanPositionAndThePoolsFoundSoFarFollowTheScanOneNewPictureAStep) {
    HoldWhen([this](int phase, Element element, const std::string& text) {
        if (phase == 1) return element == Element::InfoValue1 && text == "1";  // POOL1 found
        if (phase == 3 && element == Element::InfoValue1 && text == "2") HoldAt(4);  // SECOND found
        return phase != 3 && element == Element::InfoValue2;  // a sector read
    });
    HoldAt(1);
    Start({WriteImage(LostTableImage())});
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    view.SetText(Element::StartField, "0");
    view.SetText(Element::EndField, "12000");
    wizard->OnNext();
    ASSERT_TRUE(pause_.waitHeld());
    EXPECT_TRUE(wizard->CommandEnabled(Command::DiskMap));

    // The window opened while the scan runs: no offer was asked for yet.
    const auto map = OpenMap();
    const DiskPicture* picture = map->canvas().picture();
    const std::optional<uint64_t> first = ScanPosition(*picture);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(SpanStarts(*picture, PictureKind::Pool).empty());
    EXPECT_EQ(map->rebuilds(), 1);

    // Its step asked: the next sector read offers POOL1.
    ASSERT_TRUE(GoOnTo(2));
    map->follow();
    picture = map->canvas().picture();
    EXPECT_EQ(map->rebuilds(), 2);
    EXPECT_EQ(picture->poolNames, std::vector<std::string>{"POOL1"});
    EXPECT_FALSE(SpanStarts(*picture, PictureKind::Pool).empty());
    const std::optional<uint64_t> second = ScanPosition(*picture);
    ASSERT_TRUE(second.has_value());
    EXPECT_GT(*second, *first);

    // Many sectors read, one offer of nothing new, then SECOND found and a sector read after it
    // unasked: the step only moves the position.
    ASSERT_TRUE(GoOnTo(3));
    map->follow();
    EXPECT_EQ(map->rebuilds(), 2);
    picture = map->canvas().picture();
    EXPECT_EQ(picture->poolNames, std::vector<std::string>{"POOL1"});
    const std::optional<uint64_t> third = ScanPosition(*picture);
    ASSERT_TRUE(third.has_value());
    EXPECT_GT(*third, *second);

    ASSERT_TRUE(GoOnTo(4));
    map->follow();
    map->follow();
    EXPECT_EQ(map->rebuilds(), 3);
    picture = map->canvas().picture();
    EXPECT_EQ(picture->poolNames, (std::vector<std::string>{"POOL1", "SECOND"}));

    // Asked again and never served: the scan ends all the same.
    GoOnToTheEnd();
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    map->follow();
    picture = map->canvas().picture();
    EXPECT_EQ(picture->poolNames, (std::vector<std::string>{"POOL1", "SECOND"}));
    EXPECT_FALSE(ScanPosition(*picture).has_value());
}

// A scan that finds nothing sends the wizard back to the disk step from its worker; the window,
// stepping all the while, must still find the drive it reads from (the thread checks of the
// suite see any reader dropped under it).
TEST_F(DiskMapLive, AScanThatFindsNothingLeavesTheWindowItsDriveWhileItKeepsStepping) {
    HoldWhen([window = std::this_thread::get_id()](int, Element element, const std::string&) {
        return element == Element::InfoValue2 && std::this_thread::get_id() != window;  // a sector read
    });
    Start({WriteImage(LostTableImage())});
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    view.SetText(Element::StartField, "0");
    view.SetText(Element::EndField, "1000");
    HoldAt(1);
    wizard->OnNext();
    ASSERT_TRUE(pause_.waitHeld());
    const auto map = OpenMap();

    GoOnToTheEnd();
    while (session.wizard.busy()) map->follow();
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    map->follow();
    const DiskPicture* picture = map->canvas().picture();
    EXPECT_TRUE(picture->poolNames.empty());
    EXPECT_FALSE(ScanPosition(*picture).has_value());
    ASSERT_NE(session.reader, nullptr);
    EXPECT_GT(session.reader->sectorCount().value_or(0), 1000u);
}

TEST_F(DiskMapLive, TheVolumeTreeBlocksQueuedAndTheDamageMetAppearWhileTheMountRuns) {
    VolumePlan volume = StandardVolume();
    volume.tree.recordsPerLeaf = 2;
    const NssImage image =
        NssImageBuilder().pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {volume}}).build();
    const std::string path = WriteImage(image);
    const BuiltPool& pool = image.pools().at(0);
    const BuiltVolume& built = pool.volumes.at(0);
    ASSERT_GE(built.leafBlocks.size(), 3u);
    std::set<uint64_t> leaves;
    for (uint64_t block : built.leafBlocks) leaves.insert(*pool.toDiskSector(block * kSectorsPerBlock));
    const uint64_t bad = *leaves.rbegin() + kSectorsPerBlock - 1;

    Start({path});
    ToVolumes();
    ClickTree(TreeKind::Volumes, "DATA");
    session.reader = std::make_unique<DeviceSectorReader>(
        std::make_unique<FaultyDevice>(FileDevice::Open(path), std::set<uint64_t>{bad}), 1);
    const auto map = OpenMap();
    EXPECT_EQ(MetadataSectors(*map->canvas().picture(), MetadataKind::Superblock),
              std::set<uint64_t>{pool.superblockSector});

    HoldWhen([root = std::to_string(built.rootSector)](int phase, Element element, const std::string& text) {
        if (phase == 1) return element == Element::InfoValue3 && text == root;  // about to read the root
        return element == Element::StatusLine && text == wizard_text::kCreatingTree;
    });
    HoldAt(1);
    wizard->OnNext();
    ASSERT_TRUE(pause_.waitHeld());
    map->follow();
    const DiskPicture* picture = map->canvas().picture();
    EXPECT_EQ(ScanPosition(*picture), built.rootSector);
    EXPECT_TRUE(MetadataSectors(*picture, MetadataKind::VolumeTreeNode).empty());
    EXPECT_TRUE(SpanStarts(*picture, PictureKind::Damaged).empty());
    EXPECT_EQ(MetadataSectors(*picture, MetadataKind::Superblock), std::set<uint64_t>{pool.superblockSector});

    // The walk over, the folder tree being made: still the worker's, still drawn from its offer.
    ASSERT_TRUE(GoOnTo(2));
    ASSERT_TRUE(session.wizard.busy());
    const int rebuilds = map->rebuilds();
    map->follow();
    EXPECT_EQ(map->rebuilds(), rebuilds + 1);
    picture = map->canvas().picture();
    EXPECT_EQ(MetadataSectors(*picture, MetadataKind::VolumeTreeNode), leaves);
    EXPECT_EQ(MetadataSectors(*picture, MetadataKind::VolumeRoot), std::set<uint64_t>{built.rootSector});
    EXPECT_EQ(SpanStarts(*picture, PictureKind::Damaged), std::vector<uint64_t>{bad});
    EXPECT_TRUE(SpanStarts(*picture, PictureKind::FileData).empty());

    GoOnToTheEnd();
    wizard->WaitForWorker();
    map->follow();
    picture = map->canvas().picture();
    EXPECT_FALSE(SpanStarts(*picture, PictureKind::FileData).empty());
    EXPECT_FALSE(ScanPosition(*picture).has_value());
}

// A copy that meets an unreadable sector: the window, open over the browse step, shows it
// damaged while the copy still runs.
TEST_F(DiskMapLive, TheDamageACopyMeetsAppearsWhileTheCopyRuns) {
    const std::string path = WriteImage(StandardImage());
    Start({path});
    ToBrowse();
    const ItemRecord* readme = nullptr;
    size_t readmeIndex = 0;
    for (size_t index = 0; index < session.records.files().size(); ++index)
        if (session.records.files()[index].name == "readme.txt") {
            readme = &session.records.files()[index];
            readmeIndex = index;
        }
    ASSERT_NE(readme, nullptr);
    const std::vector<SectorRange> runs =
        FileSectorRuns(session.selectedPool, session.reader->sectorCount().value_or(0), *readme);
    ASSERT_FALSE(runs.empty());
    const uint64_t bad = runs.front().first;
    DeviceSectorReader faulty(std::make_unique<FaultyDevice>(FileDevice::Open(path), std::set<uint64_t>{bad}), 1);
    session.reader = std::make_unique<HoldingReader>(faulty, bad, pause_);
    const auto map = OpenMap();
    EXPECT_TRUE(SpanStarts(*map->canvas().picture(), PictureKind::Damaged).empty());

    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    std::vector<uint64_t> damagedWhileCopying;
    QTimer::singleShot(0, [&] {
        if (pause_.waitHeld()) {
            map->follow();
            damagedWhileCopying = SpanStarts(*map->canvas().picture(), PictureKind::Damaged);
        }
        pause_.release();
    });
    SavingWindow saving(session.savingFlags, nullptr);
    const RecoveryRunResult run = saving.run(session, SaveSelection{.fileIndexes = {readmeIndex}}, out);
    EXPECT_EQ(damagedWhileCopying, std::vector<uint64_t>{bad});
    EXPECT_EQ(run.summary.saved, 1u);
}

}  // namespace
}  // namespace lumbra::test
