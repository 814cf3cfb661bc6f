#pragma once
// A Desktop that records what the application hands to it and answers from settings the test
// makes. The temporary folder is a real folder, since opened files are really copied there.
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace lumbra::test {

class FakeDesktop : public Desktop {
public:
    ShellOpenResult OpenWithDesktop(const std::string& pathOrAddress, ShowWindowAs show) override {
        opened.push_back(pathOrAddress);
        openedAs.push_back(show);
        for (const std::string& extension : unassociatedExtensions)
            if (pathOrAddress.ends_with(extension)) return ShellOpenResult::NoAssociation;
        for (const std::string& extension : failingExtensions)
            if (pathOrAddress.ends_with(extension)) return ShellOpenResult::Failed;
        return ShellOpenResult::Opened;
    }
    bool OpenWithProgramChooser(const std::string& path) override {
        chooser.push_back(path);
        return chooserStarts;
    }
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back(program);
        startArguments.push_back(arguments);
        return programsStart;
    }
    bool FileExists(const std::string& path) const override { return existing.count(path) != 0; }
    std::string TemporaryFolder() const override { return temporaryFolder; }
    std::string CurrentDirectory() const override { return currentDirectory; }
    // "Folder"-free names: the extension upper-cased followed by " File", or a name set here.
    std::string FileTypeName(std::string_view fileName) const override {
        ++typeNameLookups;
        const std::string name(fileName);
        for (const auto& [extension, type] : typeNames)
            if (name.ends_with(extension)) return type;
        const size_t dot = name.rfind('.');
        if (dot == std::string::npos) return "File";
        std::string extension = name.substr(dot + 1);
        for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return extension + " File";
    }
    void EndProcess(int exitCode) override { endedWith.push_back(exitCode); }

    std::set<std::string> existing;
    std::set<std::string> unassociatedExtensions;
    std::set<std::string> failingExtensions;  // the associated program does not start
    std::vector<std::pair<std::string, std::string>> typeNames;
    std::string temporaryFolder = "/tmp/";
    std::string currentDirectory = "/opt/lumbra";
    bool programsStart = true;
    bool chooserStarts = true;
    mutable int typeNameLookups = 0;

    std::vector<std::string> opened;
    std::vector<ShowWindowAs> openedAs;
    std::vector<std::string> chooser;
    std::vector<std::string> started;
    std::vector<std::vector<std::string>> startArguments;
    std::vector<int> endedWith;
};

}  // namespace lumbra::test
