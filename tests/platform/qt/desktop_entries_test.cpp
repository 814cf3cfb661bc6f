// The program chooser's list: the applications a desktop registers for a file's type.
#include "platform/qt/desktop_entries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/qt_desktop.h"

namespace lumbra {
namespace {

void WriteEntry(const QString& folder, const QString& file, const QString& text) {
    QFile out(QDir(folder).filePath(file));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text.toUtf8());
}

TEST(DesktopEntries, ListsTheApplicationsOfAMimeTypeOnceEachSortedByName) {
    QTemporaryDir first, second;
    WriteEntry(first.path(), "viewer.desktop",
               "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\nMimeType=text/plain;image/png;\n");
    WriteEntry(first.path(), "editor.desktop",
               "[Desktop Entry]\nType=Application\nName=Editor\nExec=edit --new %U\nMimeType=text/plain;\n");
    WriteEntry(first.path(), "hidden.desktop",
               "[Desktop Entry]\nType=Application\nName=Hidden\nExec=hid %f\nNoDisplay=true\nMimeType=text/plain;\n");
    // A program that runs in a terminal would start with none and end unseen.
    WriteEntry(first.path(), "pager.desktop",
               "[Desktop Entry]\nType=Application\nName=Pager\nExec=less %f\nTerminal=true\nMimeType=text/plain;\n");
    WriteEntry(first.path(), "windowed.desktop",
               "[Desktop Entry]\nType=Application\nName=Windowed\nExec=win %f\nTerminal=false\nMimeType=text/x-c;\n");
    WriteEntry(second.path(), "viewer.desktop",
               "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer2 %f\nMimeType=text/plain;\n");
    WriteEntry(second.path(), "link.desktop", "[Desktop Entry]\nType=Link\nName=Link\nURL=x\nMimeType=text/plain;\n");
    const auto entries = EntriesForMimeType({first.path(), second.path()}, "text/plain");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Editor");
    EXPECT_EQ(entries[1].name, "Viewer");
    EXPECT_EQ(entries[1].exec, "viewer %f");
    EXPECT_TRUE(EntriesForMimeType({first.path()}, "application/x-nothing").empty());
    EXPECT_EQ(EntriesForMimeType({first.path()}, "text/x-c").size(), 1u) << "Terminal=false is an ordinary program";
}

TEST(DesktopEntries, TheCommandPutsTheFileWhereTheEntrySays) {
    EXPECT_EQ(CommandForFile("viewer %f", "/tmp/a b.txt"), QStringList({"viewer", "/tmp/a b.txt"}));
    EXPECT_EQ(CommandForFile("edit --new %U --icon %i", "/tmp/x"), QStringList({"edit", "--new", "/tmp/x", "--icon"}));
    EXPECT_EQ(CommandForFile("run", "/tmp/x"), QStringList({"run", "/tmp/x"}));
    EXPECT_EQ(CommandForFile("\"my tool\" --rate=50%% %f", "/x"), QStringList({"my tool", "--rate=50%", "/x"}));
}

TEST(QtDesktop, TypeNamesComeFromTheMimeDatabase) {
    QtDesktop desktop;
    EXPECT_FALSE(desktop.FileTypeName("report.txt").empty());
    EXPECT_EQ(desktop.FileTypeName("README"), "");
    EXPECT_TRUE(MimeTypeOfName("archive.zip").contains("zip"));
}

TEST(QtDesktop, TemporaryFolderEndsWithASeparatorAndFilesAreFound) {
    QtDesktop desktop;
    const std::string folder = desktop.TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    QTemporaryDir dir;
    const QString file = dir.filePath("probe.bin");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();
    EXPECT_TRUE(desktop.FileExists(file.toStdString()));
    EXPECT_FALSE(desktop.FileExists(dir.path().toStdString()));
}

}  // namespace
}  // namespace lumbra
