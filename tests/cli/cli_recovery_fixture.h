#pragma once
// A builder disk written to a scratch image file, for the recovery commands of the CLI.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {

struct CliImage {
    explicit CliImage(NssImage built, const std::string& name = "cli_recovery")
        : image(std::move(built)), folder(name), path(folder.file("disk.img")) {
        image.writeTo(path);
    }
    // The program with this image as drive row 0 and the arguments after.
    CliRun run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--no-drives", "--image", path});
        return RunCli(arguments);
    }
    std::string scratch(const std::string& name) const { return folder.file(name); }

    NssImage image;
    ScratchFolder folder;
    std::string path;
};

}  // namespace lumbra::test
