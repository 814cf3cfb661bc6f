// File type icons on a desktop without an icon theme of its own: the installed freedesktop theme
// serves them, and where no theme is found at all the program's own family icons still tell
// the types apart.
#include <QApplication>
#include <QStyle>
#include <gtest/gtest.h>

#include "gui/file_type_icons.h"
#include "support/qt/icon_pixels.h"
#include "toolkit/qt/pictures.h"

namespace lumbra {
namespace {

QImage Pixels(const QIcon& icon) { return test::IconPixels(icon, 32); }

// Sets the desktop's icon themes for one test and puts them back afterwards.
class IconThemes {
public:
    IconThemes(const QString& theme, const QString& fallback)
        : theme_(QIcon::themeName()), fallback_(QIcon::fallbackThemeName()) {
        QIcon::setThemeName(theme);
        QIcon::setFallbackThemeName(fallback);
    }
    ~IconThemes() {
        QIcon::setThemeName(theme_);
        QIcon::setFallbackThemeName(fallback_);
    }

private:
    QString theme_, fallback_;
};

TEST(FileTypeIcons, TheInstalledThemeServesADesktopWithoutOne) {
    const FileTypeIcons icons;
    EXPECT_EQ(QIcon::fallbackThemeName(), kInstalledIconTheme);
    const IconThemes bare("hicolor", kInstalledIconTheme);
    const FileTypeIcons desktop;
    const QImage text = Pixels(desktop.file("notes.txt"));
    ASSERT_FALSE(text.isNull());
    EXPECT_NE(text, test::PicturePixels(PictureImage("type_text-x-generic")));
    ASSERT_FALSE(QIcon::fromTheme("text-x-generic").isNull());
    EXPECT_EQ(text, Pixels(QIcon::fromTheme("text-x-generic")));
    EXPECT_NE(text, Pixels(desktop.file("photo.png")));
}

TEST(FileTypeIcons, WithNoThemeAtAllTheProgramsOwnIconsTellTheFamiliesApart) {
    const IconThemes none("lumbra-no-such-theme", "lumbra-no-such-theme");
    const FileTypeIcons icons;
    const struct {
        const char* name;
        const char* family;
    } cases[] = {{"notes.txt", "text-x-generic"},       {"photo.jpg", "image-x-generic"},
                 {"song.mp3", "audio-x-generic"},       {"film.mp4", "video-x-generic"},
                 {"backup.zip", "package-x-generic"},   {"letter.odt", "x-office-document"},
                 {"sums.ods", "x-office-spreadsheet"},  {"talk.odp", "x-office-presentation"}};
    for (const auto& c : cases) {
        const QImage own = test::PicturePixels(PictureImage(QString("type_") + c.family));
        ASSERT_FALSE(own.isNull()) << c.family;
        EXPECT_EQ(Pixels(icons.file(c.name)), own) << c.name;
    }
    EXPECT_EQ(Pixels(icons.file("blocks.q7z9")), Pixels(QApplication::style()->standardIcon(QStyle::SP_FileIcon)));
}

}  // namespace
}  // namespace lumbra
