#include "app/file_filters_dialog.h"

#include <algorithm>

#include "app/view.h"

namespace lumbra {

FileFiltersDialog::FileFiltersDialog(const FileFilterList& filters, View& view)
    : rows_(filters.patterns()), view_(view) {}

FilterFieldAction FileFiltersDialog::Add(std::string_view editText) {
    if (rows_.size() >= FileFilterList::kCapacity) {
        view_.ShowMessage(MessageKind::Error, filter_text::kListFull);
        return {.focus = false};
    }
    const std::string_view text = editText.substr(0, kMaxEditLength);
    if (text.size() > FileFilterList::kMaxPatternLength) {
        view_.ShowMessage(MessageKind::Error, filter_text::kTooLong);
        return {.selectFrom = 0, .selectTo = FileFilterList::kMaxPatternLength};
    }
    if (text.empty()) {
        view_.ShowMessage(MessageKind::Error, filter_text::kBlank);
        return {};
    }
    if (std::find(rows_.begin(), rows_.end(), text) != rows_.end()) {
        view_.ShowMessage(MessageKind::Error, filter_text::kExists);
        return {.selectFrom = 0, .selectTo = text.size()};
    }
    rows_.insert(rows_.begin(), std::string(text));
    return {.clear = true};
}

void FileFiltersDialog::Remove(std::optional<size_t> selectedRow) {
    if (!selectedRow || *selectedRow >= rows_.size()) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selectedRow));
}

}  // namespace lumbra
