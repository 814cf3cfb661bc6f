// Saves pictures of the owner-drawn menus and the self-drawn controls, and a sheet of the
// application's pictures, for looking at by eye: grab-controls <folder>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTest>
#include <cstdio>

#include "toolkit/qt/bitmap_menu.h"
#include "toolkit/qt/hover_button.h"
#include "toolkit/qt/icon_button.h"
#include "toolkit/qt/image_menu.h"
#include "toolkit/qt/left_pane_tree.h"
#include "toolkit/qt/pictures.h"
#include "toolkit/qt/progress_bar.h"
#include "toolkit/qt/round_group_box.h"
#include "toolkit/qt/window_shape.h"
#include "toolkit/qt/bundled_fonts.h"

namespace lumbra {
namespace {

QString outputDir;

void Keep(const QImage& image, const QString& name) {
    const QString path = outputDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!image.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void GrabImageMenus() {
    const QImage strip = PictureImage(QStringLiteral("menu_strip"));
    for (MenuLook look : {MenuLook::Classic, MenuLook::Flat}) {
        ImageMenu menu(look);
        menu.addToolBarImages(strip);
        QAction* recover = menu.appendItem("&Recover Selected...\tCtrl+R", 1, 0, 0);
        menu.appendItem("Recover &All...", 2, 0, 1);
        menu.appendSeparator();
        menu.appendItem("&Save Recovery Snapshot...", 3, menu_flag::kDisabled, 2);
        menu.appendItem("&Details", 8, menu_flag::kChecked | menu_flag::kRadio);
        menu.appendItem("&List", 7, menu_flag::kChecked, 6);
        menu.appendItem("E&xit...", 5, 0, 4);
        menu.appendPopup("&View")->appendItem("Ico&ns", 6, 0, 5);
        menu.popup(QPoint(0, 0));
        (void)QTest::qWaitForWindowExposed(&menu);
        menu.setActiveAction(recover);
        const QString name = look == MenuLook::Flat ? QStringLiteral("image_menu_flat") : QStringLiteral("image_menu_classic");
        Keep(Enlarged(menu.grab().toImage(), 2), name);
    }
}

void GrabBitmapMenu() {
    BitmapMenu menu;
    const char* items[][2] = {{"&Find Files...\tCtrl+F", "menu_find_files"}, {"File Fi&lters...", "menu_file_filters"},
                              {"Se&ttings...", "menu_settings"}, {"&Drive Information", "menu_drive_information"}};
    int command = 20;
    QAction* selected = nullptr;
    for (const auto& item : items) {
        QAction* action = menu.appendItem(QString::fromLatin1(item[0]), ++command, Picture(QString::fromLatin1(item[1])));
        if (!selected) selected = action;
    }
    menu.appendSeparator();
    QAction* checked = menu.appendItem("Ico&ns", 30);
    checked->setCheckable(true);
    checked->setChecked(true);
    menu.appendItem("Live &Update", 31, Picture(QStringLiteral("menu_live_update")));
    menu.popup(QPoint(0, 0));
    (void)QTest::qWaitForWindowExposed(&menu);
    menu.setActiveAction(selected);
    Keep(Enlarged(menu.grab().toImage(), 2), QStringLiteral("bitmap_menu"));
}

void GrabControls() {
    QWidget panel;
    panel.resize(560, 330);
    panel.setAutoFillBackground(true);
    int y = 10;
    for (GroupBoxLook look : {GroupBoxLook::Frame, GroupBoxLook::Window}) {
        for (int alignment = 0; alignment < 3; ++alignment) {
            auto* box = new RoundGroupBox(QStringLiteral("Volume Identify Options"), &panel);
            box->setLook(look);
            box->setCaptionAlignment(alignment);
            box->setGeometry(10 + alignment * 180, y, 170, 70);
        }
        y += 80;
    }
    auto* bar = new ProgressBar(&panel);
    bar->setGeometry(10, y, 440, 20);
    bar->setPosition(47);
    auto* vertical = new ProgressBar(&panel);
    vertical->setGeometry(470, y, 20, 130);
    vertical->setVertical(true);
    vertical->setPosition(60);
    auto* hover = new HoverButton(&panel);
    hover->setBitmap(PictureImage(QStringLiteral("toolbar_1")), 3);
    hover->move(10, y + 30);
    auto* pressed = new HoverButton(&panel);
    pressed->setBitmap(PictureImage(QStringLiteral("toolbar_3")), 3);
    pressed->move(90, y + 30);
    pressed->setDown(true);
    auto* icon = new IconButton(QStringLiteral("Help"), &panel);
    icon->setImages(PictureImage(QStringLiteral("help_button")), IconButton::AutoNormal::Grey);
    icon->setGeometry(180, y + 40, 80, 28);
    auto* raised = new IconButton(QStringLiteral("Checked"), &panel);
    raised->setCheckBoxRole(true);
    raised->setChecked(true);
    raised->setImages(PictureImage(QStringLiteral("help_button")), IconButton::AutoNormal::Darken);
    raised->setGeometry(270, y + 40, 100, 28);
    panel.show();
    (void)QTest::qWaitForWindowExposed(&panel);
    Keep(panel.grab().toImage(), QStringLiteral("controls"));
}

void GrabTreeAndShape() {
    LeftPaneTree tree(TreeStage::Disks);
    for (int disk = 0; disk < 3; ++disk) tree.addItem(tree.rootId(), QStringLiteral("Storage Device%1").arg(disk));
    tree.resize(223, 160);
    tree.show();
    (void)QTest::qWaitForWindowExposed(&tree);
    tree.selectItem(tree.rootId() + 2);
    Keep(tree.grab().toImage(), QStringLiteral("left_pane_tree"));

    const QImage shape = PictureImage(QStringLiteral("shape_237"));
    QImage masked(shape.size(), QImage::Format_RGB32);
    masked.fill(Qt::magenta);
    QPainter painter(&masked);
    painter.setClipRegion(RegionFromBitmap(shape, QColor(0, 255, 0)));
    painter.drawImage(0, 0, shape);
    painter.end();
    Keep(masked, QStringLiteral("window_shape"));
}

void GrabPictureSheet() {
    const QStringList small = QDir(QStringLiteral(":/lumbra/pictures")).entryList({QStringLiteral("menu_*.png"), QStringLiteral("tree_*.png"), QStringLiteral("help_button.png"), QStringLiteral("app_icon.png")});
    QImage sheet(16 * 4 * 8 + 9 * 8, ((static_cast<int>(small.size()) + 7) / 8) * 72 + 8, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int index = 0;
    for (const QString& file : small) {
        if (file == QStringLiteral("menu_strip.png")) continue;
        const QImage picture = PictureImage(file.chopped(4));
        painter.drawImage(8 + (index % 8) * 72, 8 + (index / 8) * 72, Enlarged(picture, 64 / std::max(picture.width(), 16)));
        ++index;
    }
    painter.end();
    Keep(sheet, QStringLiteral("pictures_small"));
    Keep(Enlarged(PictureImage(QStringLiteral("menu_strip")), 3), QStringLiteral("pictures_menu_strip"));
    for (const char* name : {"background_main", "background_about", "nav_next", "nav_stop", "toolbar_5"}) {
        Keep(PictureImage(QString::fromLatin1(name)), QStringLiteral("picture_") + QString::fromLatin1(name));
    }
}

}  // namespace
}  // namespace lumbra

int main(int argc, char** argv) {
    // Grabs need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lumbra::UseBundledFonts();
    lumbra::outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("grabs");
    QDir().mkpath(lumbra::outputDir);
    lumbra::GrabImageMenus();
    lumbra::GrabBitmapMenu();
    lumbra::GrabControls();
    lumbra::GrabTreeAndShape();
    lumbra::GrabPictureSheet();
    std::printf("grabs written to %s\n", qPrintable(lumbra::outputDir));
    return 0;
}
