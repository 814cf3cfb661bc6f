#pragma once
// Which desktop line the program runs on, as one small number. The toolkit reads it to pick
// the look of its menus and the way menu texts are measured.
namespace lumbra {

namespace version_code {
constexpr int kWin32s = 0;
constexpr int kNineX = 2;        // the 9x line in general
constexpr int kNineX410 = 3;     // 9x line, version 4.10
constexpr int kNineX490 = 4;     // 9x line, version 4.90
constexpr int kNt4 = 5;
constexpr int kNt50 = 6;
constexpr int kNt51 = 7;         // the newest line, the one with the flat menu look
constexpr int kNtOther = 1;
}  // namespace version_code

// True for the codes of the 9x line, whose menu texts are measured with extra room.
bool IsNineXLine(int versionCode);

class PlatformVersion {
public:
    virtual ~PlatformVersion() = default;
    virtual int versionCode() const = 0;
};

// On Linux the desktop is modern: it reports the code of the newest line.
class LinuxPlatformVersion final : public PlatformVersion {
public:
    int versionCode() const override;
};

}  // namespace lumbra
