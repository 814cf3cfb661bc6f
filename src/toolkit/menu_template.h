#pragma once
// A menu written down as data, item by item, the way menus are declared once and built at
// run time: a flat list in which a popup opens a nested list that its last item (the one with
// the end flag) closes again.
#include <cstdint>
#include <string>
#include <vector>

namespace lumbra {

namespace menu_flag {
constexpr uint16_t kDisabled = 0x0001;
constexpr uint16_t kChecked = 0x0008;
constexpr uint16_t kPopup = 0x0010;
constexpr uint16_t kEnd = 0x0080;      // last item of its level
constexpr uint16_t kRadio = 0x0200;
constexpr uint16_t kSeparator = 0x0800;
}  // namespace menu_flag

struct MenuTemplateItem {
    uint16_t flags = 0;
    uint16_t commandId = 0;   // unused for popups
    std::string text;         // "label\taccelerator"; empty for separators
    int image = -1;           // index in the menu's images, -1 = none
};

using MenuTemplate = std::vector<MenuTemplateItem>;

// One item of the menu tree a template describes.
struct MenuNode {
    uint16_t flags = 0;       // the item's flags without kEnd
    uint16_t commandId = 0;
    std::string text;
    int image = -1;
    std::vector<MenuNode> children;   // items of a popup
};

// Reads the template into a tree. A template cut short (a level without its end item) ends
// its open popups where the list ends, so a faulty template never reads past its items.
std::vector<MenuNode> ParseMenuTemplate(const MenuTemplate& menuTemplate);

}  // namespace lumbra
