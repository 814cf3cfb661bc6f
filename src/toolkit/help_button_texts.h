#pragma once
// The markup of the two help buttons of the disk step (volume-identify options and scan
// range), shown by their markup tooltips.

namespace lumbra {

inline constexpr const char* kHelpButtonAText =
    "<table>\r\n<tr><td><ilst idres=159 cx=32 cy=32 mask width=200% height=200% speed=1></td>"
    "<td><h3>\r\n<h3>Volume Identify Options</h3><br><hr color=green><br><h3>Use Partition "
    "Table</h3>\t<font color=black size=10pt >This is fast mode for recovering data.<br><t>"
    "<t><t></font><font color=black size=10pt >          Select this if your volume table "
    "is intact.<br><t><t><t></font><br><h3>Search Partition</h3>\t<font color=black size=10pt "
    ">This is deep and more efficient method  <br><t><t><t>            for recovering data "
    ", select this if  <br><t><t><t>           Partition Table is deleted or volume is missing. "
    " <br></td></tr></table>";

inline constexpr const char* kHelpButtonBText =
    "<table>\r\n<tr><td><ilst idres=159 cx=32 cy=32 mask width=200% height=200% speed=1></td>"
    "<td><h3>\r\n<h3>Scan Control</h3><br><hr color=green><br><font color=black size=10pt "
    ">Here select the disk area to scan. Don't change <br></font><font color=black size=10pt "
    ">if you want to scan the whole disk.</td></tr></table>";

}  // namespace lumbra
