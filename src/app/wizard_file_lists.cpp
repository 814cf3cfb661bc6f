// "Export File List..." and "Select From List..." of the browse step.
#include <fstream>

#include "app/recovery_message.h"
#include "app/wizard_controller.h"
#include "recovery/file_list_export.h"
#include "recovery/file_list_import.h"
#include "recovery/folder_browse.h"
#include "recovery/recovery_report.h"
#include "recovery/recovery_run.h"

namespace lumbra {

namespace {

std::vector<int> AllRows(const FileListBinding& list) {
    std::vector<int> rows;
    for (int row = 0; list.row(row); ++row) rows.push_back(row);
    return rows;
}

}  // namespace

void WizardController::ExportFileList() {
    const std::vector<int> selected = view_.SelectedListRows();
    const auto choice = view_.AskFileListExport(!selected.empty());
    if (!choice) return;
    SaveSelection selection;
    switch (choice->scope) {
        case FileListScope::CurrentFolder: selection = SelectionOfRows(AllRows(list_)); break;
        case FileListScope::Selection: selection = SelectionOfRows(selected); break;
        case FileListScope::WholeVolume: selection.everything = true; break;
    }
    const auto entries = FileListEntries(session_.records, SelectedFiles(session_.records, selection),
                                         [this](const ItemRecord& file) {
                                             if (!session_.reader) return FileCondition{};
                                             return ConditionOfFile(*session_.reader, session_.selectedPool, file,
                                                                    session_.filesRead.count(file.itemNumber) != 0);
                                         });
    const std::string text = choice->format == FileListFormat::Json ? FileListJson(entries) : FileListCsv(entries);
    PosixDestinationFiles files(&session_.inputs);
    if (auto input = files.inputAt(choice->path)) {
        view_.ShowMessage(MessageKind::Error, HostPathMarkup(ReplacesInputText(choice->path, *input)));
        return;
    }
    if (const auto failure = WriteText(files, choice->path, text)) {
        view_.ShowMessage(MessageKind::Error, "The file list could not be written: " + HostPathMarkup(*failure) + ".");
        return;
    }
    view_.ShowMessage(MessageKind::Information,
                      std::to_string(entries.size()) + " file(s) listed in " + HostPathMarkup(choice->path) + ".");
}

void WizardController::SelectFromList() {
    const auto path = view_.AskFileListToSelect();
    if (!path) return;
    std::ifstream in(*path, std::ios::binary);
    std::string text(kMaxFileListBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (!in.eof()) {
        view_.ShowMessage(MessageKind::Error, HostPathMarkup(*path) + " cannot be read.");
        return;
    }
    const FileListRead read = ReadFileList(text);
    if (!read.problem.empty()) {
        view_.ShowMessage(MessageKind::Error, HostPathMarkup(*path) + " is not a file list: " + read.problem + ".");
        return;
    }
    const FileListMatch match = MatchFileList(session_.records, read.paths);
    // A list that names no file leaves the folder shown, rather than an empty list.
    if (!match.fileIndexes.empty()) {
        FillFileRows(session_.records, list_, match.fileIndexes);
        view_.Focus(Element::FileList);
        session_.wizard.treeHasFocus = 0;
        std::vector<int> rows;
        for (int row = 0; row < static_cast<int>(match.fileIndexes.size()); ++row) rows.push_back(row);
        view_.SelectListRows(rows);
    }
    std::string message = std::to_string(match.fileIndexes.size()) + " file(s) of the list selected.";
    if (!match.notFound.empty()) {
        message += " Not found (" + std::to_string(match.notFound.size()) + "):";
        constexpr size_t kShown = 20;
        for (size_t i = 0; i < match.notFound.size() && i < kShown; ++i) message += "\r\n" + match.notFound[i];
        if (match.notFound.size() > kShown) message += "\r\n...";
    }
    view_.ShowMessage(match.notFound.empty() ? MessageKind::Information : MessageKind::Error, message);
}

}  // namespace lumbra
