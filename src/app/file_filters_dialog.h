#pragma once
// The rules of the "File Filters" dialog. The view runs the window and calls these when its
// buttons are pressed; the messages go through the view's message box.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_filter_list.h"

namespace lumbra {

class View;

namespace filter_text {
constexpr std::string_view kCaption = "Enter Filter";
constexpr std::string_view kListFull = "      You cannot add more Filters     ";
constexpr std::string_view kTooLong = "      Filter too long     ";
constexpr std::string_view kBlank = "      You can not add a blank entry.     ";
constexpr std::string_view kExists = "      Filter already exists in the list     ";
}  // namespace filter_text

// What the edit field does after Add.
struct FilterFieldAction {
    bool focus = true;
    bool clear = false;                  // the text was added
    size_t selectFrom = 0;               // selection to make visible, [selectFrom, selectTo)
    size_t selectTo = 0;
};

class FileFiltersDialog {
public:
    static constexpr size_t kMaxEditLength = 300;

    FileFiltersDialog(const FileFilterList& filters, View& view);

    // The rows the list shows, top to bottom (newest first).
    const std::vector<std::string>& rows() const { return rows_; }

    // The Add button (also Enter in the edit field): the text of the edit field.
    FilterFieldAction Add(std::string_view editText);
    // The Remove button with the selected row, if any.
    void Remove(std::optional<size_t> selectedRow);

private:
    std::vector<std::string> rows_;
    View& view_;
};

}  // namespace lumbra
