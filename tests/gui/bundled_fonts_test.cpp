// The windows are laid out with the program's own faces, so they have the pixel sizes their
// pictures were drawn for on every machine. CTest runs these once more on a machine that has no
// font at all (an empty font configuration).
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

#include "app/file_filters_dialog.h"
#include "gui/about_dialog.h"
#include "gui/captioned_values_dialog.h"
#include "gui/dialog_units.h"
#include "gui/file_filters_window.h"
#include "gui/gui_harness.h"
#include "gui/settings_dialog.h"
#include "toolkit/markup_style.h"
#include "toolkit/qt/markup_qt_surface.h"

namespace lumbra {
namespace {

using test::MainWindowHarness;

TEST(BundledFonts, DialogAndMarkupFacesAreTheProgramsOwn) {
    EXPECT_EQ(QFontInfo(DialogFont()).family(), "DejaVu Sans Condensed");
    const DialogUnits units(DialogFont());
    EXPECT_EQ(units.x(4), 6);
    EXPECT_EQ(units.y(8), 13);
    FontSpec request;
    for (const char* face : {"Verdana", "Arial", "Tahoma", "No Such Face"}) {
        request.face = face;
        EXPECT_EQ(QFontInfo(MarkupFont(request)).family(), "DejaVu Sans") << face;
    }
    request.face = "Courier";
    EXPECT_EQ(QFontInfo(MarkupFont(request)).family(), "DejaVu Sans Mono");
}

TEST(BundledFonts, WindowsHaveTheirDesignedPixelSizes) {
    MainWindowHarness h;
    EXPECT_EQ(h.window->size(), QSize(792, 523));
    SettingsDialog settings({}, h.window.get());
    EXPECT_EQ(settings.size(), QSize(456, 430));
    FileFiltersDialog rules(h.session.filters, *h.window);
    FileFiltersWindow filters(rules, h.window.get());
    EXPECT_EQ(filters.size(), QSize(315, 235));
    CaptionedValuesDialog properties(PropertiesLook(), {{"Name :", "report.doc"}}, h.window.get());
    EXPECT_EQ(properties.size(), QSize(355, 331));
    AboutDialog about("Corvalt Lumbra Novell NSS Version 4.03", h.window.get());
    EXPECT_EQ(about.size(), QSize(456, 430));
}

TEST(BundledFonts, AMachineWithoutFontsHasOnlyTheProgramsFaces) {
    if (qEnvironmentVariableIsEmpty("LUMBRA_NO_SYSTEM_FONTS")) GTEST_SKIP() << "the machine's own fonts are present";
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    // The font system still names its generic families; every real face is one of ours.
    const QStringList allowed = {"DejaVu Sans", "DejaVu Sans Condensed", "DejaVu Sans Mono", "Sans Serif", "Serif",
                                 "Monospace"};
    for (const QString& family : families) EXPECT_TRUE(allowed.contains(family)) << family.toStdString();
}

}  // namespace
}  // namespace lumbra
