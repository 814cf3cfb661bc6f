#include <gtest/gtest.h>

#include <cstdio>

#include "cli_runner.h"
#include "cli/command.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

std::string sha256Of(const std::string& path) {
    std::string output;
    if (FILE* pipe = popen(("sha256sum '" + path + "'").c_str(), "r")) {
        char chunk[256];
        while (fgets(chunk, sizeof chunk, pipe)) output += chunk;
        pclose(pipe);
    }
    return output.substr(0, 64);
}

// Every command that reads a source, run on a builder image: not one byte of the image changes.
TEST(SourceUnchanged, EveryReadingCommandLeavesTheImageAsItWas) {
    test::ScratchFolder folder("unchanged");
    const std::string image = folder.file("disk.img");
    test::VolumePlan volume{.name = "VOL1"};
    const uint64_t docs = volume.addFolder("Documents");
    volume.addFile("Report.doc", docs, 12345);
    test::NssImageBuilder()
        .pool({.name = "POOL1", .segments = {{.headerSector = 2048, .extent = 65536}}, .volumes = {volume}})
        .build()
        .writeTo(image);
    const std::string before = sha256Of(image);
    ASSERT_EQ(before.size(), 64u);

    const std::vector<std::string> base = {"--no-drives", "--image", image};
    for (const cli::Command& command : cli::AllCommands()) {
        std::vector<std::string> arguments = base;
        arguments.push_back(command.name);
        for (const auto& option : command.options) {
            if (option.name == "--drive") arguments.insert(arguments.end(), {"--drive", "0"});
            if (option.name == "--sector") arguments.insert(arguments.end(), {"--sector", "0", "--count", "2048"});
            if (option.name == "--pool") arguments.insert(arguments.end(), {"--pool", "0"});
            if (option.name == "--volume") arguments.insert(arguments.end(), {"--volume", "0"});
            if (option.name == "--out") arguments.insert(arguments.end(), {"--out", folder.file("out")});
        }
        test::RunCli(arguments);
    }
    EXPECT_EQ(sha256Of(image), before);
}

}  // namespace
}  // namespace lumbra
