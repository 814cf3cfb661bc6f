#pragma once
// What the copy, saving and search tests share: a mounted builder volume, a scratch
// destination, the saving flags, a recording saving observer, and destinations that fail.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recovery/file_copy.h"
#include "recovery/mounted_image.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {

class RecordingSavingObserver : public SavingObserver {
public:
    struct Started {
        std::string path;
        std::string name;
        uint32_t totalFiles = 0;
    };
    void fileStarted(const std::string& path, const std::string& name, uint32_t totalFiles) override {
        started.push_back({path, name, totalFiles});
        if (onStarted) onStarted(path);
    }
    void fileProgress(uint32_t percent) override {
        percents.push_back(percent);
        if (onProgress) onProgress(percent);
    }
    void fileFinished(const CopyResult& result) override {
        finished.push_back(result.outcome);
        if (onFinished) onFinished(result);
    }
    void savingDone() override { ++doneSignals; }

    std::vector<Started> started;
    std::vector<uint32_t> percents;
    std::vector<CopyOutcome> finished;
    int doneSignals = 0;
    std::function<void(const std::string&)> onStarted;
    std::function<void(uint32_t)> onProgress;
    std::function<void(const CopyResult&)> onFinished;
};

// The local file system with the faults of a failing destination disk: it is full once
// `budget` bytes have been written, and each of the other calls can be made to fail.
class FaultyFiles : public PosixDestinationFiles {
public:
    std::unique_ptr<DestinationFile> create(const std::string& path) override {
        return Faulty(PosixDestinationFiles::create(path));
    }
    std::unique_ptr<DestinationFile> createNew(const std::string& path) override {
        return Faulty(PosixDestinationFiles::createNew(path));
    }
    bool ensureFolder(const std::string& path) override {
        return !foldersFail && PosixDestinationFiles::ensureFolder(path);
    }
    bool setModificationTime(const std::string& path, int64_t seconds) override {
        ++timesAsked;
        return !timesFail && PosixDestinationFiles::setModificationTime(path, seconds);
    }

    uint64_t budget = UINT64_MAX;
    bool closeFails = false;   // every file's close answers false and leaves no file
    bool foldersFail = false;  // no folder can be made
    bool timesFail = false;    // no modification time can be set
    int timesAsked = 0;

private:
    std::unique_ptr<DestinationFile> Faulty(std::unique_ptr<DestinationFile> inner) {
        if (!inner) return nullptr;
        return std::make_unique<FaultyFile>(std::move(inner), *this);
    }

    class FaultyFile : public DestinationFile {
    public:
        FaultyFile(std::unique_ptr<DestinationFile> inner, FaultyFiles& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        bool write(const uint8_t* bytes, size_t length) override {
            const size_t allowed = static_cast<size_t>(std::min<uint64_t>(length, owner_.budget));
            owner_.budget -= allowed;
            if (!inner_->write(bytes, allowed)) return false;
            if (allowed == length) return true;
            errno = ENOSPC;  // as a full disk says
            return false;
        }
        // A file whose close fails is no file at all: like the real one, it leaves nothing.
        bool close() override {
            if (!owner_.closeFails) return inner_->close();
            inner_->abandon();
            return false;
        }
        void abandon() override { inner_->abandon(); }

    private:
        std::unique_ptr<DestinationFile> inner_;
        FaultyFiles& owner_;
    };
};

// The local file system, whose disk is full once `budget` bytes have been written.
struct FullDiskFiles : FaultyFiles {
    explicit FullDiskFiles(uint64_t bytes) { budget = bytes; }
};

// Everything one CopyRecoveredFile call needs, over a mounted builder volume.
struct CopyFixture {
    explicit CopyFixture(NssImage image, std::set<uint64_t> unreadable = {})
        : mounted(std::move(image), std::move(unreadable)) {
        mounted.MountVolumeBased();
    }

    CopyContext context(DestinationFiles& target) {
        CopyContext copy{mounted.reader, mounted.pool, target, flags, filters};
        copy.duplicateAction = duplicateAction;
        copy.observer = &observer;
        copy.askContinue = [this](const std::string& question) {
            questions.push_back(question);
            return answer;
        };
        return copy;
    }
    CopyContext context() { return context(files); }

    // The place of the file of this name in the file list.
    size_t fileIndex(const std::string& name) const {
        const auto& list = mounted.tree.files();
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].name == name) return i;
        throw std::runtime_error("no file " + name);
    }
    const ItemRecord& file(const std::string& name) const { return mounted.tree.files()[fileIndex(name)]; }
    const BuiltFile& built(const std::string& name) const {
        for (const BuiltFile& record : mounted.builtVolume().files)
            if (record.expectedName() == name) return record;
        throw std::runtime_error("no built file " + name);
    }
    std::vector<uint8_t> expected(const std::string& name) const {
        return mounted.image.consecutiveContent(mounted.builtPool(), built(name));
    }
    // Copies the file of this name into the destination folder, through `through`.
    CopyResult copy(const std::string& name, DestinationFiles& through, CopyMode mode = CopyMode::Recover) {
        std::string renamed = name;
        CopyContext copyContext = context(through);
        const ItemRecord& record = file(name);
        return CopyRecoveredFile(copyContext, destination.path().string(), renamed, record.firstBlock, record.size, mode);
    }
    CopyResult copy(const std::string& name, CopyMode mode = CopyMode::Recover) { return copy(name, files, mode); }

    MountedImage mounted;
    ScratchFolder destination{"copy"};
    PosixDestinationFiles files;
    SavingFlags flags;
    std::vector<std::string> filters;
    uint16_t duplicateAction = kRenameDuplicates;
    RecordingSavingObserver observer;
    std::vector<std::string> questions;
    bool answer = true;
};

}  // namespace lumbra::test
