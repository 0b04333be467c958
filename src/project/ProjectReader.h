#pragma once
// The project file reader: turns a *.VBP or *.MAK project file into a filled TSourceMgt.
//
// What opening a project asks of the main window goes through ProjectReaderObserver, so the GUI, the
// command line and the tests each answer it their own way; every message goes through the Prompter.

#include <memory>
#include <string>

#include "platform/Prompter.h"
#include "project/TSourceMgt.h"

namespace kemptor {

// The main window as the reader sees it. Every member has a do-nothing default, in the order in which
// OpenProject calls them.
class ProjectReaderObserver {
public:
    virtual ~ProjectReaderObserver() = default;
    // True while a project is shown (the tree panel is visible).
    virtual bool ProjectShown() const { return false; }
    // The main window's CloseProject: clear its project fields, drop its model, disable the project
    // commands, hide the tree. Called before a new project is read, and when a load fails.
    virtual void CloseProject() {}
    // The progress gauge while the project lines are read: maximum = number of project lines.
    virtual void SetGaugeRange(int /*maximum*/) {}
    virtual void SetGaugePosition(int /*position*/) {}
    virtual void SetGaugeVisible(bool /*visible*/) {}
    // The main window's ProjectName (no directory), ProjectPath (as opened) and ProjectLoaded = true.
    virtual void ProjectOpening(const std::string& /*projectName*/, const std::string& /*projectPath*/) {}
    // The hourglass; taken down while a message box is up and when reading ends.
    virtual void SetBusyCursor(bool /*busy*/) {}
    // A named file failed the text test (missing, special or not text) and the user chose to go on
    // without it.
    virtual void FileLeftOut(const std::string& /*nameAsWritten*/) {}
    // After a successful read, in this order:
    virtual void AddRecentFile(const std::string& /*projectPath*/) {}
    // The Options window reloads every setting from VBKEMPT3.INI and the header comment templates.
    virtual void ReloadOptions() {}
    // VB.INI "TabStops", for the engine's tab expansion.
    virtual void SetTabWidth(int /*tabWidth*/) {}
    virtual void EnableProjectCommands() {}
    // Builds the project tree with the project name as its root.
    virtual void BuildTree(TSourceMgt& /*project*/) {}
};

// Opens the project at `path` into `project` (the main window's model slot) and returns true when a
// project with at least one file is open. Otherwise no project is open afterwards: `project` is reset
// before observer.CloseProject() is called, or, when the project file fails the text test, left as
// step one left it.
bool OpenProject(const std::string& path, std::unique_ptr<TSourceMgt>& project,
                 ProjectReaderObserver& observer, Prompter& prompter);

// True when the file's first byte is one a source file saved as text begins with: CR, LF, blank, "!",
// "#", "'", "*", ".", "/", a digit, an ASCII letter or "\". A file that cannot be opened or read, and
// an empty file, fail.
bool IsTextFile(const std::string& path);
// The same test for a first byte already read (-1: the file is empty).
bool IsTextByte(int firstByte);

// True for a VBP line that names its file right after "=": lines that begin with Form or UserControl, and
// PropertyPage, Designer, UserDocument, ResFile32 and RelatedDoc lines (any letter case). Module and
// Class lines name it after the ";" that follows the object's name.
bool NamesFileAfterEquals(const std::string& line);

// A path without the double quotes around it (ResFile32="App.res"), or the path itself.
std::string_view WithoutQuotes(std::string_view path);

// The file path a VBP line names: for the lines of NamesFileAfterEquals the trimmed text after the first
// "=", without double quotes around it; for other lines the trimmed text after the first ";". Empty
// when the mark is missing.
std::string ExtractProjectPath(const std::string& line);

// The path used to open a file the project names: the written path alone when it is absolute (holds
// ":\" or ":/", or begins with "/"), otherwise projectDir + writtenPath.
std::string ProjectFilePath(const std::string& projectDir, const std::string& writtenPath);

// The message texts of the reader.
inline constexpr const char* kInvalidProjectText = "Invalid VB project file.  Unable to proceed.";
inline constexpr const char* kEmptyProjectText = "Project file is empty.";
// The warning for a named file that fails the text test; an overlong name is shortened in the text.
std::string NotAsciiFileText(const std::string& nameAsWritten);

} // namespace kemptor
