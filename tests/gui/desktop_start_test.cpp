// The start of the desktop program: the main window shows first and the start's messages, in
// the desktop's words, open centred over it.
#include <gtest/gtest.h>

#include <QTest>

#include "gui/desktop_start.h"
#include "gui_harness.h"
#include "support/scratch_folder.h"
#include "toolkit/qt/message_box.h"

namespace lumbra::test {
namespace {

TEST(DesktopStart, StartMessagesOpenCentredOverTheWindowThatShowsFirst) {
    const ScratchFolder scratch("desktop_start");
    FakeDesktop desktop;
    Session session{AccessMode::N};
    MainWindow window(session, desktop);
    WizardController wizard(session, window, desktop);
    window.attach(wizard);
    DesktopOptions options;
    options.sources.listSystemDisks = false;
    const std::string missing = scratch.file("missing.img");
    options.sources.images = {missing, DemoImagePath()};
    options.problems = {"The disk image a.img is left out: its rescue map cannot be read"};

    ModalAnswerer answers;
    std::vector<std::string> seen;
    for (int message = 0; message < 2; ++message) {
        answers.expect([&](QWidget* widget) {
            auto* box = qobject_cast<MarkupMessageBox*>(widget);
            ASSERT_NE(box, nullptr);
            seen.push_back(box->text());
            EXPECT_TRUE(window.isVisible()) << "the message opened before its window";
            const QPoint offset = box->frameGeometry().center() - window.frameGeometry().center();
            EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
            box->press(message_box::kOk);
        });
    }
    ASSERT_TRUE(StartDesktop(window, wizard, options, ""));
    EXPECT_TRUE(answers.allAnswered());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "The disk image " + missing + " cannot be opened: No such file or directory.");
    EXPECT_EQ(seen[1], options.problems[0]);
}

}  // namespace
}  // namespace lumbra::test
