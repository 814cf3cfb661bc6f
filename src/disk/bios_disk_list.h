#pragma once
// How the disks of the emulated BIOS libraries are named: the environment variable
// LUMBRA_BIOS_DISKS holds entries separated by ':', each either a path, which the library opens
// read-only itself, or "/dev/fd/N", a descriptor of this process that the program opened
// read-only and the library reads as it is, without opening the disk by name again. A block
// device reopened by name (even through /dev/fd/N) checks the user's rights once more, so a disk
// the program opened through the device-opening helper reaches the libraries only this way.
#include <cstddef>
#include <string_view>

namespace lumbra::bios_disk_list {

constexpr const char* kVariable = "LUMBRA_BIOS_DISKS";
constexpr char kSeparator = ':';
constexpr std::string_view kDescriptorPrefix = "/dev/fd/";
// An entry that names no descriptor: it keeps its place among the drives and reads nothing.
constexpr std::string_view kUnreadable = "/dev/fd/-1";
// The BIOS drive numbers 0x80 to 0xFF: entries past these name no drive and are not read.
constexpr size_t kMaxDisks = 128;

}  // namespace lumbra::bios_disk_list
