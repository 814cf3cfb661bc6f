#pragma once
// The pictures that markup can name: the application's numbered pictures ("idres") and
// pictures that a caller registered for the drawer under a handle ("handle").
#include <QImage>
#include <cstdint>
#include <map>
#include <optional>

namespace lumbra {

class MarkupPictures {
public:
    // The process's pictures, with the application's own already registered.
    static MarkupPictures& instance();

    void setResource(int id, const QImage& image) { resources_[id] = image; }
    std::optional<QImage> resource(int id) const;
    // Keeps a picture for the caller and returns the handle that markup names it by.
    uint32_t registerHandle(const QImage& image);
    std::optional<QImage> handle(uint32_t id) const;

private:
    MarkupPictures();
    std::map<int, QImage> resources_;
    std::map<uint32_t, QImage> handles_;
    uint32_t nextHandle_ = 0x1000;
};

namespace picture_id {
// The animated help symbol of the help-button tooltips: frames of 32 x 32 in a row,
// on magenta, which the markup masks out.
constexpr int kHelpAnimation = 159;
}

}  // namespace lumbra
