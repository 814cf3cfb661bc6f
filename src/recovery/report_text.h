#pragma once
// The two kinds of text a recovery report holds, each turned into UTF-8 once, in a way that a
// reader can undo and that keeps XML well-formed and CSV valid UTF-8. docs/format/recovery_report.md
// describes both.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// A path of the local file system (the destination, the image, the command line): bytes that
// are usually UTF-8 but need not be. Valid UTF-8 stays as it is; every byte that is not part of
// valid UTF-8, every control character (below 0x20, and 0x7F) becomes "\xHH" (two upper-case
// hex digits), and a backslash becomes "\\".
std::string FileSystemText(std::string_view bytes);

// A name or path from the disk (UTF-8: Latin-1 converted, or a name in full) for XML: each
// control character c (below 0x20) as its picture U+2400 + c and 0x7F as U+2421.
std::string DiskNameXmlText(std::string_view utf8);

// The program and its arguments as one line a shell reads back: an argument that is empty or
// holds anything but letters, digits and "-_./=:,+@%" is put in single quotes.
std::string CommandLineText(const std::vector<std::string>& arguments);

// "2004-06-01T12:30:00Z"; empty for a time gmtime cannot convert.
std::string IsoTime(std::time_t seconds);

}  // namespace lumbra
