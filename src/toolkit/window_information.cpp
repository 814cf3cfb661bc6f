#include "toolkit/window_information.h"

#include <cstdio>

#include "toolkit/markup_escape.h"

namespace lumbra {

namespace {

std::string Row(const char* name, const std::string& value) {
    return std::string("<tr><td width=70 bgcolor=buttonface>") + name + "</td><td width=130 bgcolor=window>" +
           value + "</td></tr>";
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace

std::string OwnerText(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '<') c = '?';
    }
    if (out.size() > 25) out = out.substr(0, 21) + " ...";
    return out;
}

std::string WindowInformationMarkup(const WindowInformation& info) {
    char rect[64];
    std::snprintf(rect, sizeof rect, "(%d, %d)-(%d, %d)", info.left, info.top, info.right, info.bottom);
    std::string markup = "<table>";
    markup += "<tr><td><font color=darkblue>Window</font><table border=1>";
    markup += Row("Class name", EscapeMarkup(info.className)) + Row("Title", EscapeMarkup(info.title)) + Row("Handle", Hex(info.handle)) +
              Row("Control ID", std::to_string(info.controlId)) + Row("Styles", Hex(info.styles)) +
              Row("RECT", rect) + Row("Width", std::to_string(info.right - info.left)) +
              Row("Height", std::to_string(info.bottom - info.top)) +
              Row("Has Tooltip", info.hasToolTip ? "Yes" : "No");
    markup += "</table></td>";
    markup += "<td><font color=darkblue>Window Owner</font><table border=1>";
    markup += Row("Class name", OwnerText(info.ownerClassName)) + Row("Title", OwnerText(info.ownerTitle)) +
              Row("Handle", Hex(info.ownerHandle));
    markup += "</table>";
    markup += "<br><font color=darkblue>Mouse Cursor</font><table border=1>";
    markup += Row("X", std::to_string(info.mouseX)) + Row("Y", std::to_string(info.mouseY));
    markup += "</table></td></tr></table>";
    return markup;
}

}  // namespace lumbra
