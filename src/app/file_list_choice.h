#pragma once
// What "Export File List" asks: which files, in which format, into which file.
#include <cstdint>
#include <string>

#include "recovery/file_list_export.h"

namespace lumbra {

enum class FileListScope : uint8_t {
    CurrentFolder,  // the rows the list shows, folders with everything below them
    Selection,      // the selected rows, as Recover Selected takes them
    WholeVolume,
};

struct FileListExportChoice {
    FileListScope scope = FileListScope::CurrentFolder;
    FileListFormat format = FileListFormat::Csv;
    std::string path;
};

}  // namespace lumbra
