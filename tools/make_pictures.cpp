// Draws every picture of the application (menu bitmaps, tree icons, button pictures and the
// window backgrounds) into resources/pictures, and writes the resource file that lists them.
// Run it after changing a picture: make-pictures <project>/resources <project>/packaging/icons
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "file_type_pictures.h"
#include "picture_glyphs.h"

namespace {

using lumbra::pictures::DrawGlyph;

struct Command {
    const char* glyph;
    const char* caption;   // toolbar caption, empty when the command has no toolbar button
};

const std::vector<Command> kMenuCommands = {
    {"recover_selected", "Recover"}, {"recover_all", "Recover All"}, {"save_snapshot", "Save"},
    {"load_snapshot", "Load"},       {"exit", ""},                  {"icons", ""},
    {"list", ""},                    {"details", ""},               {"find_files", "Find"},
    {"file_filters", ""},            {"settings", "Settings"},      {"drive_information", ""},
    {"live_update", "Live Update"},  {"contents", ""},              {"about", ""},
};

struct Background {
    const char* name;
    int width;
    int height;
    int band;   // height of the darker band at the top, above the dialog's first control
};

const std::vector<Background> kBackgrounds = {
    {"background_main", 792, 508, 96},        {"background_settings", 458, 434, 10},
    {"background_filters", 317, 238, 8},      {"background_properties", 359, 335, 10},
    {"background_drive_information", 373, 332, 10}, {"background_about", 458, 432, 110},
};

QStringList written;

void Save(const QImage& image, const QString& dir, const QString& name) {
    const QString file = name + QStringLiteral(".png");
    if (!image.save(dir + QStringLiteral("/pictures/") + file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    written << file;
}

QImage Glyph(const QString& glyph, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawGlyph(painter, glyph, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// Toolbar bitmaps have hard edges on a key colour, the way the menus cut them out.
QImage OnKeyColour(const QImage& glyph, QRgb key) {
    QImage keyed(glyph.size(), QImage::Format_RGB32);
    const QImage plain = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb pixel = plain.pixel(x, y);
            keyed.setPixel(x, y, qAlpha(pixel) < 128 ? key : (pixel | 0xff000000));
        }
    }
    return keyed;
}

enum class Frame { Normal, Pressed, Hover };

void ButtonFace(QPainter& painter, const QRectF& area, Frame frame) {
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    QColor border;
    switch (frame) {
    case Frame::Normal: fill.setColorAt(0, QColor(0xf4, 0xf7, 0xfb)); fill.setColorAt(1, QColor(0xd4, 0xdf, 0xec)); border = QColor(0x8f, 0xa4, 0xbe); break;
    case Frame::Hover: fill.setColorAt(0, QColor(0xff, 0xf7, 0xe0)); fill.setColorAt(1, QColor(0xff, 0xd8, 0x8a)); border = QColor(0xe0, 0xa0, 0x30); break;
    case Frame::Pressed: fill.setColorAt(0, QColor(0xff, 0xd8, 0x8a)); fill.setColorAt(1, QColor(0xf0, 0xb4, 0x48)); border = QColor(0xb0, 0x76, 0x20); break;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

// A strip of three frames (normal, pressed, hover), each `frame` wide.
QImage ButtonStrip(QSize frame, const QString& glyph, const QString& caption, int glyphSize) {
    QImage strip(frame.width() * 3, frame.height(), QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    for (Frame state : {Frame::Normal, Frame::Pressed, Frame::Hover}) {
        const int index = static_cast<int>(state);
        const QPointF shift = state == Frame::Pressed ? QPointF(1, 1) : QPointF(0, 0);
        const QRectF area(index * frame.width(), 0, frame.width(), frame.height());
        ButtonFace(painter, area, state);
        const qreal glyphTop = caption.isEmpty() ? (frame.height() - glyphSize) / 2.0 : 6;
        DrawGlyph(painter, glyph, QRectF(area.left() + (frame.width() - glyphSize) / 2.0, glyphTop, glyphSize, glyphSize).translated(shift));
        painter.setPen(QColor(0x1d, 0x33, 0x55));
        painter.drawText(area.adjusted(0, frame.height() - 20, 0, -4).translated(shift), Qt::AlignCenter, caption);
    }
    return strip;
}

QImage BackgroundPicture(const Background& b) {
    QImage image(b.width, b.height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient body(0, 0, 0, b.height);
    body.setColorAt(0, QColor(0xee, 0xf3, 0xf9));
    body.setColorAt(1, QColor(0xc8, 0xd6, 0xe7));
    painter.fillRect(image.rect(), body);
    QLinearGradient band(0, 0, 0, b.band);
    band.setColorAt(0, QColor(0x35, 0x66, 0xa6));
    band.setColorAt(1, QColor(0x1a, 0x3c, 0x6c));
    painter.fillRect(QRect(0, 0, b.width, b.band), band);
    painter.fillRect(QRect(0, b.band, b.width, 2), QColor(0xf0, 0xb4, 0x48));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 18));
    painter.drawEllipse(QPointF(b.width * 0.8, -b.band * 1.2), b.width * 0.45, b.band * 2.0);
    return image;
}

// The message dialog's outline: a rounded panel on pure green, which the shape leaves out.
QImage ShapePicture() {
    QImage image(420, 260, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    QPainter painter(&image);
    QPainterPath panel;
    panel.addRoundedRect(QRectF(0, 0, 420, 260), 22, 22);
    QLinearGradient fill(0, 0, 0, 260);
    fill.setColorAt(0, QColor(0xfa, 0xfc, 0xff));
    fill.setColorAt(1, QColor(0xd2, 0xde, 0xec));
    painter.fillPath(panel, fill);
    painter.setClipPath(panel);
    painter.fillRect(QRect(0, 0, 420, 34), QColor(0x26, 0x4e, 0x86));
    return image;
}

// The program's icon, drawn on a 32-unit square scaled to `size` pixels.
QImage AppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x26, 0x4e, 0x86));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    DrawGlyph(painter, QStringLiteral("pool"), QRectF(4, 4, 24, 24));
    return icon;
}

void WriteResourceFile(const QString& dir) {
    QFile file(dir + QStringLiteral("/lumbra_pictures.qrc"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/lumbra\">\n";
    for (const QString& name : written) out << "  <file>pictures/" << name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    QDir().mkpath(dir + QStringLiteral("/pictures"));
    const std::vector<std::pair<int, QString>> tree = {{178, "folder"}, {179, "disk"}, {180, "pool"}, {233, "computer"}};
    for (const auto& [number, glyph] : tree) Save(Glyph(glyph, {16, 16}), dir, QStringLiteral("tree_%1").arg(number));
    QImage strip(16 * static_cast<int>(kMenuCommands.size()), 15, QImage::Format_RGB32);
    QPainter stripPainter(&strip);
    int toolbar = 0;
    for (size_t i = 0; i < kMenuCommands.size(); ++i) {
        const QString glyph = QString::fromLatin1(kMenuCommands[i].glyph);
        Save(Glyph(glyph, {16, 16}), dir, QStringLiteral("menu_") + glyph);
        stripPainter.drawImage(static_cast<int>(i) * 16, 0, OnKeyColour(Glyph(glyph, {16, 15}), 0xffc0c0c0));
        if (*kMenuCommands[i].caption) {
            Save(ButtonStrip({68, 70}, glyph, QString::fromLatin1(kMenuCommands[i].caption), 36), dir,
                 QStringLiteral("toolbar_%1").arg(++toolbar));
        }
    }
    stripPainter.end();
    Save(strip, dir, QStringLiteral("menu_strip"));
    for (const char* glyph : {"back", "next", "stop"}) {
        Save(ButtonStrip({50, 49}, QString::fromLatin1(glyph), {}, 30), dir, QStringLiteral("nav_") + QString::fromLatin1(glyph));
    }
    Save(ButtonStrip({132, 59}, QStringLiteral("home"), QStringLiteral("Home Page"), 30), dir, QStringLiteral("home_page"));
    Save(Glyph(QStringLiteral("help"), {17, 17}), dir, QStringLiteral("help_button"));
    for (const Background& background : kBackgrounds) Save(BackgroundPicture(background), dir, QString::fromLatin1(background.name));
    Save(ShapePicture(), dir, QStringLiteral("shape_237"));
    Save(AppIcon(32), dir, QStringLiteral("app_icon"));
    // The installed program's icons in the desktop's icon theme, one file per size.
    if (argc > 2) {
        const QString icons = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(icons);
        for (int size : {16, 32, 48, 64, 128, 256})
            AppIcon(size).save(icons + QStringLiteral("/lumbra-nss-%1.png").arg(size));
    }
    for (const QString& family : lumbra::pictures::FileTypeFamilies())
        Save(lumbra::pictures::FileTypePicture(family), dir, QStringLiteral("type_") + family);
    WriteResourceFile(dir);
    std::printf("%lld pictures written to %s\n", static_cast<long long>(written.size()), qPrintable(dir));
    return 0;
}
