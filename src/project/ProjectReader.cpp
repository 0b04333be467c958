#include "project/ProjectReader.h"

#include <cctype>
#include <cerrno>
#include <limits>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/Text.h"
#include "platform/WinPath.h"
#include "settings/SettingsProfile.h"

namespace kemptor {

namespace {

// Longest file name shown in a warning; a longer one (a garbage line of megabytes) would make a message
// box nobody can read or close.
constexpr size_t kMaxShownName = 512;

enum class ReadOutcome { Finished, Abandoned };

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

bool StartsWithUpper(const std::string& s, std::string_view upperPrefix) {
    if (s.size() < upperPrefix.size())
        return false;
    for (size_t i = 0; i < upperPrefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(s[i])) != upperPrefix[i])
            return false;
    return true;
}

// Reads one project style's lines into the model; shared by both readers, which differ only in which
// lines name a file and how the path is taken from the line.
class ProjectLinesReader {
public:
    ProjectLinesReader(TSourceMgt& project, ProjectReaderObserver& observer, Prompter& prompter)
        : project_(project), observer_(observer), prompter_(prompter) {}

    bool Empty() const { return empty_; }

    ReadOutcome ReadMak() {
        const auto& lines = project_.ProjectLines;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.find('=') == std::string::npos) {
                std::string ext = ExtractUpperExtension(line);
                // Libraries and custom controls are named in the project but are not source.
                if (ext != ".DLL" && ext != ".VBX" && !TryAdd(line, line, ext))
                    return ReadOutcome::Abandoned;
            }
            observer_.SetGaugePosition(static_cast<int>(i + 1));
        }
        return ReadOutcome::Finished;
    }

    ReadOutcome ReadVbp() {
        const auto& lines = project_.ProjectLines;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (StartsWith(line, "UserControl") || StartsWith(line, "Module") || StartsWith(line, "Class") ||
                StartsWith(line, "Form")) {
                std::string written = ExtractProjectPath(line);
                if (!TryAdd(written, written, ExtractUpperExtension(written)))
                    return ReadOutcome::Abandoned;
            }
            observer_.SetGaugePosition(static_cast<int>(i + 1));
        }
        return ReadOutcome::Finished;
    }

private:
    // Adds the file when it passes the text test; otherwise asks whether loading goes on. False when the
    // user chose to quit loading.
    bool TryAdd(const std::string& written, const std::string& shownName, const std::string& ext) {
        // One reading gives the text test, the size and the line count; a file too large to read
        // still gets its test and size the long way.
        const std::string path = ProjectFilePath(project_.ProjectDir, written);
        TextFileSurvey survey = SurveyTextFile(path);
        if (!survey.opened) {
            survey.firstByte = IsTextFile(path) ? 'A' : -1;
            survey.size = FileSizeOf(path);
        }
        if (IsTextByte(survey.firstByte)) {
            Add(written, ext, survey);
            return true;
        }
        observer_.SetBusyCursor(false);
        if (prompter_.Show(PromptKind::Warning, NotAsciiFileText(shownName), PromptButtons::OkCancel) ==
            PromptAnswer::Cancel)
            return false;
        observer_.FileLeftOut(shownName);
        observer_.SetBusyCursor(true);
        return true;
    }

    void Add(const std::string& written, const std::string& ext, const TextFileSurvey& survey) {
        TSourceEntry* entry = project_.Current;
        entry->FullPath = ProjectFilePath(project_.ProjectDir, written);
        entry->FileName = ExtractFileName(written);
        entry->DisplayName = entry->FileName;
        entry->Extension = ext;
        entry->FileSize = static_cast<double>(survey.size);
        entry->Selected = true;
        entry->Processed = false;
        entry->OutputPath.clear();
        empty_ = false;
        entry->Kind = SourceKindOf(ext);
        entry->Loaded = false;
        entry->LineCount = static_cast<std::int32_t>(survey.lines < 0 ? 0 : survey.lines);
        project_.AppendBlankEntry();
    }

    TSourceMgt& project_;
    ProjectReaderObserver& observer_;
    Prompter& prompter_;
    bool empty_ = true;
};

// Ends a load that produced no project: the model goes, and the main window returns to "no project".
void CloseLoad(std::unique_ptr<TSourceMgt>& project, ProjectReaderObserver& observer) {
    observer.SetGaugeVisible(false);
    project.reset();
    observer.CloseProject();
}

} // namespace

std::string NotAsciiFileText(const std::string& nameAsWritten) {
    std::string name =
        nameAsWritten.size() > kMaxShownName ? nameAsWritten.substr(0, kMaxShownName) + "..." : nameAsWritten;
    return name + " is not an ASCII file.  " +
           "It will not be added to the project.  Select Cancel to quit " +
           "loading the project or OK to continue.";
}

bool IsTextFile(const std::string& path) {
    if (path.empty())
        return false;
    // Only a regular file is opened: a FIFO would wait for a writer forever, a device may never end.
    host::UniqueFd f{OpenRegularFileHost(MapToHostPath(path), std::numeric_limits<std::int64_t>::max())};
    char first = 0;
    if (f.fd < 0 || host::ReadSome(f.fd, &first, 1) != 1)
        return false;
    return IsTextByte(static_cast<unsigned char>(first));
}

bool IsTextByte(int c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '!' || c == '#' || c == '\'' || c == '*' || c == '.' ||
           c == '/' || c == '\\' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

bool NamesFileAfterEquals(const std::string& line) {
    if (StartsWithUpper(line, "FORM") || StartsWithUpper(line, "USERCONTROL"))
        return true;
    // Property pages, designers, user documents, the resource file and related documents: the key
    // exactly, so that no other key that merely begins like one of them counts.
    const size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    const std::string_view key = TrimBlanks(std::string_view(line).substr(0, eq));
    return EqualNoCase(key, "PropertyPage") || EqualNoCase(key, "Designer") || EqualNoCase(key, "UserDocument") ||
           EqualNoCase(key, "ResFile32") || EqualNoCase(key, "RelatedDoc");
}

std::string_view WithoutQuotes(std::string_view path) {
    return path.size() >= 2 && path.front() == '"' && path.back() == '"' ? path.substr(1, path.size() - 2)
                                                                           : path;
}

std::string ExtractProjectPath(const std::string& line) {
    char mark = NamesFileAfterEquals(line) ? '=' : ';';
    size_t at = line.find(mark);
    return at == std::string::npos ? std::string()
                                   : std::string(WithoutQuotes(TrimBlanks(std::string_view(line).substr(at + 1))));
}

std::string ProjectFilePath(const std::string& projectDir, const std::string& writtenPath) {
    bool absolute = writtenPath.find(":\\") != std::string::npos ||
                    writtenPath.find(":/") != std::string::npos ||
                    (!writtenPath.empty() && writtenPath[0] == '/');
    return absolute ? writtenPath : projectDir + writtenPath;
}

bool OpenProject(const std::string& path, std::unique_ptr<TSourceMgt>& project,
                 ProjectReaderObserver& observer, Prompter& prompter) {
    if (observer.ProjectShown())
        observer.CloseProject();
    if (!IsTextFile(path)) {
        prompter.Show(PromptKind::Error, kInvalidProjectText, PromptButtons::Ok);
        return false;
    }

    project = std::make_unique<TSourceMgt>();
    TSourceMgt& model = *project;
    model.ProjectLines = ReadTextLines(path).value_or(TextLines{});
    observer.SetGaugeRange(static_cast<int>(model.ProjectLines.size()));
    observer.SetGaugeVisible(true);

    const std::string projectName = ExtractFileName(path);
    observer.ProjectOpening(projectName, path);
    model.ProjectName = projectName;
    model.ProjectDir = ExtractFileDir(path);

    observer.SetBusyCursor(true);
    ProjectLinesReader reader(model, observer, prompter);
    ReadOutcome outcome;
    if (ExtractUpperExtension(projectName) == ".VBP") {
        model.ProjectStyle = TProjectStyle::VBP;
        outcome = reader.ReadVbp();
    } else {
        model.ProjectStyle = TProjectStyle::MAK;
        outcome = reader.ReadMak();
    }
    observer.SetBusyCursor(false);
    model.Current->Next = nullptr; // the blank entry in hand is the terminator
    if (outcome == ReadOutcome::Abandoned) {
        CloseLoad(project, observer);
        return false;
    }

    if (reader.Empty()) {
        prompter.Show(PromptKind::Warning, kEmptyProjectText, PromptButtons::Ok);
        CloseLoad(project, observer);
        return false;
    }

    observer.AddRecentFile(path);
    observer.ReloadOptions();
    observer.SetTabWidth(ReadTabStops());
    observer.EnableProjectCommands();
    observer.BuildTree(model);
    observer.SetGaugeVisible(false);
    return true;
}

} // namespace kemptor
