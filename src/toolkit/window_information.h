#pragma once
// The markup a tooltip shows in window-information mode: what is known about the window under
// the mouse, its owner and the mouse position.
#include <cstdint>
#include <string>

namespace lumbra {

struct WindowInformation {
    std::string className;
    std::string title;
    uint32_t handle = 0;
    int controlId = 0;
    uint32_t styles = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool hasToolTip = false;
    std::string ownerClassName;
    std::string ownerTitle;
    uint32_t ownerHandle = 0;
    int mouseX = 0, mouseY = 0;
};

std::string WindowInformationMarkup(const WindowInformation& info);

// An owner's text as shown: "<" becomes "?", and a text longer than 25 characters keeps its
// first 21 followed by " ...".
std::string OwnerText(const std::string& text);

}  // namespace lumbra
