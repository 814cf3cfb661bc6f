// "Open With": the chooser lists the desktop's programs for the file's type, a typed command
// wins over a marked program, and the chosen program is started on the file.
#include "platform/qt/program_chooser.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/qt/qt_desktop.h"
#include "support/qt/event_wait.h"

namespace lumbra {
namespace {

std::vector<DesktopEntry> TwoViewers() { return {{"Editor", "edit --new %U"}, {"Viewer", "viewer %f"}}; }

TEST(ProgramChooser, ListsTheProgramsAndStartsWithTheFirstMarked) {
    ProgramChooser chooser("/tmp/report.txt", TwoViewers());
    auto* programs = chooser.findChild<QListWidget*>("Programs");
    ASSERT_NE(programs, nullptr);
    ASSERT_EQ(programs->count(), 2);
    EXPECT_EQ(programs->item(1)->text(), "Viewer");
    EXPECT_EQ(chooser.chosenCommand(), QStringList({"edit", "--new", "/tmp/report.txt"}));
    programs->setCurrentRow(1);
    EXPECT_EQ(chooser.chosenCommand(), QStringList({"viewer", "/tmp/report.txt"}));
}

TEST(ProgramChooser, ATypedCommandWinsAndClearsTheMark) {
    ProgramChooser chooser("/tmp/a b.doc", TwoViewers());
    auto* command = chooser.findChild<QLineEdit*>("Command");
    QTest::keyClicks(command, "my-viewer --page 2");
    EXPECT_TRUE(chooser.findChild<QListWidget*>("Programs")->selectedItems().isEmpty());
    EXPECT_EQ(chooser.chosenCommand(), QStringList({"my-viewer", "--page", "2", "/tmp/a b.doc"}));
    command->clear();
    EXPECT_TRUE(chooser.chosenCommand().isEmpty());
}

TEST(ProgramChooser, WithoutProgramsOnlyATypedCommandCounts) {
    ProgramChooser chooser("/tmp/x.qqq", {});
    EXPECT_TRUE(chooser.chosenCommand().isEmpty());
}

// A desktop with one more application for text files, which writes the path it was given
// into `marker`.
class ScriptedDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        QDir().mkpath(home.filePath("applications"));
        script = home.filePath("record.sh");
        marker = home.filePath("opened.txt");
        Write(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + marker + "'\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Write(home.filePath("applications/recorder.desktop"),
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script + " %f\nMimeType=text/plain;\n");
        savedHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", savedHome); }
    static void Write(const QString& path, const QString& text) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toLocal8Bit());
    }
    // Runs `open` while the chooser it shows is answered by `answer`.
    static void AnswerChooser(const std::function<void()>& open, const std::function<void(ProgramChooser*)>& answer) {
        bool answered = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* chooser = qobject_cast<ProgramChooser*>(QApplication::activeModalWidget());
            if (!chooser || answered) return;
            answered = true;
            answer(chooser);
        });
        poll.start(10);
        open();
        EXPECT_TRUE(answered);
    }
    QString openedPath() const {
        QFile in(marker);
        return in.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(in.readAll()) : QString();
    }

    QTemporaryDir home;
    QString script, marker;
    QByteArray savedHome;
};

// Marks the recording program in the chooser and accepts it.
void ChooseRecorder(ProgramChooser* chooser) {
    auto* programs = chooser->findChild<QListWidget*>("Programs");
    const auto recorder = programs->findItems("Recorder", Qt::MatchExactly);
    ASSERT_EQ(recorder.size(), 1);
    programs->setCurrentItem(recorder.first());
    chooser->accept();
}

TEST_F(ScriptedDesktop, TheChosenProgramIsStartedOnTheFile) {
    QtDesktop desktop;
    const std::string file = home.filePath("notes.txt").toStdString();
    AnswerChooser([&] { desktop.OpenWithProgramChooser(file); },
                  ChooseRecorder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !openedPath().isEmpty(); }, test::kEventLimitMs));
    EXPECT_EQ(openedPath().toStdString(), file);
}

// The temporary copy of an opened file carries its name in UTF-8; the chooser starts the
// program on that very file.
TEST_F(ScriptedDesktop, ANameWithEightBitCharactersReachesTheProgramIntact) {
    QtDesktop desktop;
    const std::string file = desktop.TemporaryFolder() + "Caf\xc3\xa9 order 2002.txt";
    Write(QString::fromStdString(file), "order");
    AnswerChooser([&] { desktop.OpenWithProgramChooser(file); },
                  ChooseRecorder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !openedPath().isEmpty(); }, test::kEventLimitMs));
    EXPECT_EQ(openedPath().toUtf8().toStdString(), file);
    EXPECT_TRUE(QFile::exists(openedPath()));
    QFile::remove(QString::fromStdString(file));
}

TEST_F(ScriptedDesktop, AProgramThatCannotStartIsAFailureACancelIsNot) {
    QtDesktop desktop;
    bool started = true;
    AnswerChooser([&] { started = desktop.OpenWithProgramChooser(home.filePath("notes.txt").toStdString()); },
                  [](ProgramChooser* chooser) {
                      QTest::keyClicks(chooser->findChild<QLineEdit*>("Command"), "/no/such/program");
                      chooser->accept();
                  });
    EXPECT_FALSE(started);
    AnswerChooser([&] { started = desktop.OpenWithProgramChooser(home.filePath("notes.txt").toStdString()); },
                  [](ProgramChooser* chooser) { chooser->reject(); });
    EXPECT_TRUE(started);
}

// The copies of opened files go into a folder of the run that only the user can enter, and the
// folder goes with the program.
TEST(QtDesktopFolder, OpenedFilesGoIntoAPrivateFolderRemovedAtTheEnd) {
    std::string folder;
    {
        QtDesktop desktop;
        folder = desktop.TemporaryFolder();
        ASSERT_TRUE(folder.ends_with('/'));
        EXPECT_EQ(folder.rfind(QDir::tempPath().toStdString() + "/lumbra-nss-", 0), 0u) << folder;
        EXPECT_EQ(QFile::permissions(QString::fromStdString(folder)),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser |
                      QFile::ExeUser);
        EXPECT_EQ(QtDesktop().TemporaryFolder() == folder, false) << "each run has a folder of its own";
        QFile copy(QString::fromStdString(folder + "report.txt"));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(QDir(QString::fromStdString(folder)).exists());
}

TEST_F(ScriptedDesktop, CancelStartsNothing) {
    QtDesktop desktop;
    AnswerChooser([&] { desktop.OpenWithProgramChooser(home.filePath("notes.txt").toStdString()); },
                  [](ProgramChooser* chooser) { chooser->reject(); });
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(marker));
}

}  // namespace
}  // namespace lumbra
