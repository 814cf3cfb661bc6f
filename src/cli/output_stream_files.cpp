#include "cli/output_stream_files.h"

namespace lumbra::cli {
namespace {

class StreamFile : public DestinationFile {
public:
    explicit StreamFile(std::ostream& out) : out_(out) {}
    bool write(const uint8_t* bytes, size_t length) override {
        out_.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(length));
        return out_.good();
    }
    bool close() override { return out_.flush().good(); }
    void abandon() override {}

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<DestinationFile> OutputStreamFiles::create(const std::string&) {
    return std::make_unique<StreamFile>(out_);
}

}  // namespace lumbra::cli
