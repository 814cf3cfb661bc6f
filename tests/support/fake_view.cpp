#include "support/fake_view.h"

#include <stdexcept>

namespace lumbra::test {

namespace {

std::string TreeName(TreeKind kind) {
    switch (kind) {
        case TreeKind::Drives: return "Drives";
        case TreeKind::Pools: return "Pools";
        case TreeKind::Volumes: return "Volumes";
        case TreeKind::Directory: return "Directory";
    }
    return "?";
}

}  // namespace

std::string ElementName(Element element) {
    static const std::map<Element, std::string> names{
        {Element::DriveTree, "DriveTree"},         {Element::PoolTree, "PoolTree"},
        {Element::VolumeTree, "VolumeTree"},       {Element::DirectoryTree, "DirectoryTree"},
        {Element::InfoCaption1, "InfoCaption1"},   {Element::InfoCaption2, "InfoCaption2"},
        {Element::InfoCaption3, "InfoCaption3"},   {Element::InfoCaption4, "InfoCaption4"},
        {Element::InfoCaption5, "InfoCaption5"},   {Element::InfoValue1, "InfoValue1"},
        {Element::InfoValue2, "InfoValue2"},       {Element::InfoValue3, "InfoValue3"},
        {Element::InfoValue4, "InfoValue4"},       {Element::InfoValue5, "InfoValue5"},
        {Element::StatusLine, "StatusLine"},       {Element::IdentifyFrame, "IdentifyFrame"},
        {Element::IdentifyCaption, "IdentifyCaption"}, {Element::UsePartitionTable, "UsePartitionTable"},
        {Element::SearchPartition, "SearchPartition"}, {Element::HelpButtonA, "HelpButtonA"},
        {Element::RangeCaption, "RangeCaption"},   {Element::RangeFrame, "RangeFrame"},
        {Element::StartCaption, "StartCaption"},   {Element::EndCaption, "EndCaption"},
        {Element::StartField, "StartField"},       {Element::EndField, "EndField"},
        {Element::HelpButtonB, "HelpButtonB"},     {Element::BackButton, "BackButton"},
        {Element::NextButton, "NextButton"},       {Element::StopButton, "StopButton"},
        {Element::ProgressBar, "ProgressBar"},     {Element::FileList, "FileList"},
        {Element::ProgressEstimate, "ProgressEstimate"},
    };
    return names.at(element);
}

void FakeView::note(const std::string& entry) { log.push_back(entry); }

std::vector<std::string> FakeView::logged() const {
    std::lock_guard lock(mutex_);
    return log;
}

FakeTree& FakeView::treeOf(TreeKind kind) { return trees_[kind]; }

void FakeView::Show(Element element) {
    std::lock_guard lock(mutex_);
    elements_[element].visible = true;
    note("show " + ElementName(element));
}

void FakeView::Hide(Element element) {
    std::lock_guard lock(mutex_);
    elements_[element].visible = false;
    note("hide " + ElementName(element));
}

void FakeView::Enable(Element element) {
    std::lock_guard lock(mutex_);
    elements_[element].enabled = true;
    note("enable " + ElementName(element));
}

void FakeView::Disable(Element element) {
    std::lock_guard lock(mutex_);
    elements_[element].enabled = false;
    note("disable " + ElementName(element));
}

void FakeView::SetText(Element element, std::string_view text) {
    std::function<void(Element, const std::string&)> hook;
    {
        std::lock_guard lock(mutex_);
        elements_[element].text = std::string(text);
        note("text " + ElementName(element) + "=" + std::string(text));
        hook = onSetText;
    }
    if (hook) hook(element, std::string(text));
}

std::string FakeView::Text(Element element) const { return this->element(element).text; }

void FakeView::SetChecked(Element element, bool checked) {
    std::lock_guard lock(mutex_);
    elements_[element].checked = checked;
    note(std::string(checked ? "check " : "uncheck ") + ElementName(element));
}

void FakeView::Focus(Element element) {
    std::lock_guard lock(mutex_);
    focused = element;
    note("focus " + ElementName(element));
}

uint32_t FakeView::CreateTree(TreeKind kind, std::string_view rootText) {
    std::lock_guard lock(mutex_);
    FakeTree& tree = treeOf(kind);
    const int generation = tree.generation + 1;
    tree = FakeTree{};
    tree.generation = generation;
    tree.root = nextItem_++;
    tree.items[tree.root] = FakeTreeItem{0, std::string(rootText), false, {}};
    note("tree " + TreeName(kind) + " root=" + std::string(rootText));
    return tree.root;
}

uint32_t FakeView::AddTreeItem(TreeKind kind, uint32_t parent, std::string_view text) {
    std::lock_guard lock(mutex_);
    FakeTree& tree = treeOf(kind);
    if (!tree.items.count(parent)) throw std::logic_error("tree item added under an unknown parent");
    const uint32_t id = nextItem_++;
    tree.items[id] = FakeTreeItem{parent, std::string(text), false, {}};
    tree.items[parent].children.push_back(id);
    note("item " + TreeName(kind) + " " + std::string(text));
    return id;
}

std::vector<uint32_t> FakeView::AddTreeItems(TreeKind kind, uint32_t parent,
                                             const std::vector<TreeItemEntry>& entries) {
    std::vector<uint32_t> ids;
    for (const TreeItemEntry& entry : entries) {
        ids.push_back(AddTreeItem(kind, entry.parentEntry < ids.size() ? ids[entry.parentEntry] : parent, entry.text));
        std::lock_guard lock(mutex_);
        auto& items = treeOf(kind).items;
        if (items.count(ids.back())) items[ids.back()].damaged = entry.damaged;
    }
    return ids;
}

void FakeView::ExpandTreeItem(TreeKind kind, uint32_t item) {
    std::lock_guard lock(mutex_);
    auto& items = treeOf(kind).items;
    if (items.count(item)) items[item].expanded = true;
}

void FakeView::SelectTreeItem(TreeKind kind, uint32_t item) {
    std::lock_guard lock(mutex_);
    treeOf(kind).selected = item;
}

void FakeView::SetTreeItemText(TreeKind kind, uint32_t item, std::string_view text) {
    std::lock_guard lock(mutex_);
    auto& items = treeOf(kind).items;
    if (items.count(item)) items[item].text = std::string(text);
}

std::string FakeView::TreeItemText(TreeKind kind, uint32_t item) const {
    std::lock_guard lock(mutex_);
    const FakeTree& t = tree(kind);
    auto found = t.items.find(item);
    return found == t.items.end() ? std::string() : found->second.text;
}

uint32_t FakeView::TreeItemParent(TreeKind kind, uint32_t item) const {
    std::lock_guard lock(mutex_);
    const FakeTree& t = tree(kind);
    auto found = t.items.find(item);
    return found == t.items.end() ? 0 : found->second.parent;
}

uint32_t FakeView::TreeRoot(TreeKind kind) const { return tree(kind).root; }

uint32_t FakeView::SelectedTreeItem(TreeKind kind) const { return tree(kind).selected; }

void FakeView::SetListColumns(const std::vector<ListColumn>& newColumns) {
    std::lock_guard lock(mutex_);
    columns = newColumns;
    note("columns " + std::to_string(newColumns.size()));
}

void FakeView::DeleteAllListRows() {
    std::lock_guard lock(mutex_);
    rows.clear();
}

void FakeView::AppendListRow(const ItemRow& row) {
    std::lock_guard lock(mutex_);
    rows.push_back(row);
}

void FakeView::SetListRowName(int row, std::string_view name) {
    std::lock_guard lock(mutex_);
    if (row >= 0 && static_cast<size_t>(row) < rows.size()) rows[static_cast<size_t>(row)].name = std::string(name);
}

std::optional<ItemRow> FakeView::ListRow(int row) const {
    std::lock_guard lock(mutex_);
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return std::nullopt;
    return rows[static_cast<size_t>(row)];
}

void FakeView::SetListViewMode(ListViewMode mode) {
    std::lock_guard lock(mutex_);
    viewMode = mode;
}

void FakeView::SetListGridAndFullRowSelect() {
    std::lock_guard lock(mutex_);
    ++gridAndFullRow;
}

int FakeView::ListSelectionMark() const {
    std::lock_guard lock(mutex_);
    return selectionMark;
}

std::vector<int> FakeView::SelectedListRows() const {
    std::lock_guard lock(mutex_);
    return selectedRows;
}

void FakeView::BeginListLabelEdit(int row, size_t maxLength) {
    std::lock_guard lock(mutex_);
    labelEdits.emplace_back(row, maxLength);
}

void FakeView::ShowListMenu(bool openWithEnabled) {
    std::lock_guard lock(mutex_);
    listMenus.push_back(openWithEnabled);
}

void FakeView::SetProgress(uint32_t percent) {
    std::lock_guard lock(mutex_);
    progress.push_back(percent);
    note("progress " + std::to_string(percent));
}

void FakeView::SetQuickHelp(std::string_view text) {
    std::lock_guard lock(mutex_);
    quickHelp.emplace_back(text);
}

std::string FakeView::lastQuickHelp() const {
    std::lock_guard lock(mutex_);
    return quickHelp.empty() ? std::string() : quickHelp.back();
}

void FakeView::SetCommandEnabled(Command command, bool isEnabled) {
    std::lock_guard lock(mutex_);
    commands_[command] = isEnabled;
}

void FakeView::ShowMessage(MessageKind kind, std::string_view text) {
    std::lock_guard lock(mutex_);
    messages.push_back({kind, std::string(text), false});
    note("message " + std::string(text));
}

Answer FakeView::AskYesNo(MessageKind kind, std::string_view text) {
    std::function<void()> hook;
    {
        std::lock_guard lock(mutex_);
        messages.push_back({kind, std::string(text), true});
        note("ask " + std::string(text));
        hook = whileAsking;
    }
    // Outside the lock: a worker may go on calling the view meanwhile.
    if (hook) hook();
    std::lock_guard lock(mutex_);
    if (answers.empty()) return Answer::No;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

bool FakeView::RunSettingsDialog(SettingsDialogValues& values) {
    settingsDialogs.push_back(values);
    return settingsDialog ? settingsDialog(values) : false;
}

bool FakeView::RunModeOfRecoveryDialog(ModeOfRecoveryValues& values) {
    modeDialogs.push_back(values);
    return modeDialog ? modeDialog(values) : true;
}

void FakeView::RunFileFiltersDialog(FileFiltersDialog& dialog) {
    if (filtersDialog) filtersDialog(dialog);
}

void FakeView::ShowProperties(const PropertiesValues& values) { properties.push_back(values); }

void FakeView::ShowDriveInformation(const DriveInformationValues& values) { driveInformation.push_back(values); }

void FakeView::ShowAbout(std::string_view text) { abouts.emplace_back(text); }

std::optional<std::string> FakeView::AskSnapshotSaveName() {
    ++saveNameAsked;
    return saveName;
}

std::optional<size_t> FakeView::AskSnapshotDrive(std::string_view text, const std::vector<std::string>& drives,
                                                 size_t preselected) {
    snapshotDriveQuestions.push_back({std::string(text), drives, preselected});
    return snapshotDrive;
}

std::optional<std::string> FakeView::AskSnapshotLoadName() {
    ++loadNameAsked;
    return loadName;
}

std::optional<uint64_t> FakeView::OpenFindWindow() {
    ++findWindows;
    return findAnswer;
}

void FakeView::SelectListRow(int row) {
    std::lock_guard lock(mutex_);
    note("select row " + std::to_string(row));
    selectionMark = row;
    selectedRows = {row};
}

std::optional<std::string> FakeView::AskDestinationFolder() {
    if (destinationAsked >= destinationAnswers.size()) return std::nullopt;
    return destinationAnswers[destinationAsked++];
}

void FakeView::RunSaving(const SaveSelection& selection, const std::string& destination) {
    savings.push_back(selection);
    savingDestinations.push_back(destination);
}

std::optional<FileListExportChoice> FakeView::AskFileListExport(bool selectionAvailable) {
    std::lock_guard lock(mutex_);
    exportSelectionOffered.push_back(selectionAvailable);
    return exportChoice;
}

std::optional<std::string> FakeView::AskFileListToSelect() {
    std::lock_guard lock(mutex_);
    return listToSelect;
}

void FakeView::SelectListRows(const std::vector<int>& chosen) {
    std::lock_guard lock(mutex_);
    selectedRows = chosen;
    selectionMark = chosen.empty() ? -1 : chosen.front();
    note("select rows " + std::to_string(chosen.size()));
}

ElementState FakeView::element(Element e) const {
    std::lock_guard lock(mutex_);
    auto found = elements_.find(e);
    return found == elements_.end() ? ElementState{} : found->second;
}

const FakeTree& FakeView::tree(TreeKind kind) const {
    static const FakeTree empty;
    auto found = trees_.find(kind);
    return found == trees_.end() ? empty : found->second;
}

std::vector<std::string> FakeView::treeChildren(TreeKind kind, uint32_t item) const {
    std::lock_guard lock(mutex_);
    const FakeTree& t = tree(kind);
    auto found = t.items.find(item == 0 ? t.root : item);
    std::vector<std::string> texts;
    if (found == t.items.end()) return texts;
    for (uint32_t child : found->second.children) texts.push_back(t.items.at(child).text);
    return texts;
}

uint32_t FakeView::findTreeItem(TreeKind kind, std::string_view text) const {
    std::lock_guard lock(mutex_);
    for (const auto& [id, item] : tree(kind).items)
        if (item.text == text) return id;
    return 0;
}

bool FakeView::commandEnabled(Command command) const {
    std::lock_guard lock(mutex_);
    auto found = commands_.find(command);
    return found != commands_.end() && found->second;
}

}  // namespace lumbra::test
