#include "toolkit/menu_template.h"

namespace lumbra {

namespace {

// Reads one level starting at index `next`; returns when the level's end item was read.
std::vector<MenuNode> ParseLevel(const MenuTemplate& items, size_t& next) {
    std::vector<MenuNode> level;
    while (next < items.size()) {
        const MenuTemplateItem& item = items[next++];
        MenuNode node{static_cast<uint16_t>(item.flags & ~menu_flag::kEnd), item.commandId, item.text, item.image, {}};
        if (item.flags & menu_flag::kPopup) {
            node.commandId = 0;
            node.children = ParseLevel(items, next);
        }
        level.push_back(std::move(node));
        if (item.flags & menu_flag::kEnd) break;
    }
    return level;
}

}  // namespace

std::vector<MenuNode> ParseMenuTemplate(const MenuTemplate& menuTemplate) {
    size_t next = 0;
    std::vector<MenuNode> top;
    while (next < menuTemplate.size()) {
        std::vector<MenuNode> level = ParseLevel(menuTemplate, next);
        top.insert(top.end(), std::make_move_iterator(level.begin()), std::make_move_iterator(level.end()));
    }
    return top;
}

}  // namespace lumbra
