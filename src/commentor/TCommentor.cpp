#include "commentor/TCommentor.h"

#include "platform/Host.h"
#include "platform/Prompter.h"
#include "platform/TargetDirectory.h"
#include "platform/Text.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <filesystem>

namespace kemptor {

namespace {

constexpr std::string_view kHeadings[] = {
    "Function ", "Private Function ", "Static Function ", "Public Function ",
    "Sub ",      "Private Sub ",      "Static Sub ",      "Public Sub ",
};

std::string_view WithoutLeadingBlanks(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

bool IsCommentLine(const std::string& line) {
    return !line.empty() && line.front() == '\'';
}

// When the trimmed line begins with `key`, puts the rest, trimmed, into `value` and returns true.
bool ValueAfter(std::string_view line, std::string_view key, std::string& value) {
    line = TrimBlanks(line);
    if (!line.starts_with(key))
        return false;
    value = std::string(TrimBlanks(line.substr(key.size())));
    return true;
}

// The path as the user reads it in a message: on the host, with "." and ".." resolved.
std::string DisplayPath(const std::string& path) {
    return host::FromFsPath(host::FsPath(MapToHostPath(path)).lexically_normal());
}

} // namespace

bool IsCommentorHeading(std::string_view line) {
    line = WithoutLeadingBlanks(line);
    return std::any_of(std::begin(kHeadings), std::end(kHeadings),
                       [line](std::string_view heading) { return line.starts_with(heading); });
}

bool IsCommentorRoutineEnd(std::string_view line) {
    const std::string text = std::string(WithoutLeadingBlanks(line)) + ' ';
    return text.starts_with("End Sub ") || text.starts_with("End Function ");
}

TCommentor::TCommentor(Prompter& prompter, std::string modulePath, const std::string& outputSetting,
                       std::string projectDir)
    : prompter_(prompter), modulePath_(std::move(modulePath)),
      projectDir_(projectDir.empty() ? ExtractFileDir(modulePath_) : std::move(projectDir)),
      outputDir_(OutputDirectoryFor(projectDir_, outputSetting)) {}

std::string TCommentor::OutputFile() const {
    return outputDir_ + ExtractFileName(modulePath_);
}

std::string TCommentor::Heading() const {
    return HasRoutine() ? lines_[static_cast<size_t>(current_)] : std::string();
}

bool TCommentor::OutputCopyExists() const {
    return FileExists(OutputFile()) && !IsSamePath(OutputFile(), modulePath_);
}

bool TCommentor::Open() {
    // Saving rewrites the whole copy from these lines: read from the module while a copy exists, they
    // would put back what the copy had lost (earlier edits, a run's formatting).
    fromOutputCopy_ = OutputCopyExists();
    const std::string source = fromOutputCopy_ ? OutputFile() : modulePath_;
    auto lines = ReadTextLines(source);
    if (!lines) {
        prompter_.Show(PromptKind::Error,
                       "Cannot read file " + DisplayPath(source) +
                           (fromOutputCopy_ ? ".  The output copy is left as it is." : ""),
                       PromptButtons::Ok);
        return false;
    }
    lines_ = std::move(*lines);
    ++linesRevision_;
    current_ = FindHeading(1, 1);
    if (current_ < 0) {
        if (Changed)
            Changed();
        prompter_.Show(PromptKind::Information, "Module does not contain any sub or function routines.",
                       PromptButtons::Ok);
        return true;
    }
    ShowRoutine();
    return true;
}

int TCommentor::FindHeading(int from, int step) const {
    for (int i = from; i >= 1 && i < static_cast<int>(lines_.size()); i += step)
        if (IsCommentorHeading(lines_[static_cast<size_t>(i)]))
            return i;
    return -1;
}

void TCommentor::ShowRoutine() {
    const int count = static_cast<int>(lines_.size());
    const auto line = [this](int i) -> const std::string& { return lines_[static_cast<size_t>(i)]; };

    routineEnd_ = count - 1;
    for (int i = current_ + 1; i < count; ++i)
        if (IsCommentorRoutineEnd(line(i))) {
            routineEnd_ = i;
            break;
        }

    // The block: the comment lines that touch the heading above and below it. Only a line whose first
    // character is the apostrophe counts, so an indented comment ends the block; line 0 never belongs.
    blockStart_ = current_;
    while (blockStart_ - 1 >= 1 && IsCommentLine(line(blockStart_ - 1)))
        --blockStart_;
    blockEnd_ = current_;
    while (blockEnd_ + 1 < count && IsCommentLine(line(blockEnd_ + 1)))
        ++blockEnd_;

    author_.clear();
    params_.clear();
    Memo.Lines.assign(lines_.begin() + blockStart_, lines_.begin() + blockEnd_ + 1);
    for (const std::string& text : Memo.Lines) {
        ValueAfter(text, "'  Author :", author_);
        ValueAfter(text, "'  Params :", params_);
    }
    Memo.Edited = false;
    ++shownCount_;
    if (Changed)
        Changed();
}

bool TCommentor::ChangeCheck() {
    if (!Memo.Edited)
        return true;
    switch (prompter_.Show(PromptKind::Confirmation, "Comments have changed.  Do you wish to save?",
                           PromptButtons::YesNoCancel)) {
    case PromptAnswer::Yes:
        // A save that failed leaves the edits unsaved; going on would let them drop out of sight.
        return Save();
    case PromptAnswer::No:
        return true;
    default:
        return false;
    }
}

bool TCommentor::MoveTo(int step, const char* noneMessage) {
    if (!ChangeCheck())
        return false;
    const int found = HasRoutine() ? FindHeading(current_ + step, step) : -1;
    if (found < 0) {
        prompter_.Show(PromptKind::Information, noneMessage, PromptButtons::Ok);
        return false;
    }
    current_ = found;
    ShowRoutine();
    return true;
}

bool TCommentor::Next() {
    return MoveTo(1, "No further routines.");
}

bool TCommentor::Prior() {
    return MoveTo(-1, "No prior routines.");
}

bool TCommentor::PrepareOutputDirectory() {
    if (!ForceDirectories(outputDir_)) {
        prompter_.Show(PromptKind::Error, "Unable to create the directory " + DisplayPath(outputDir_) + ".",
                       PromptButtons::Ok);
        return false;
    }
    // A setting that names the module's own directory would make the copy overwrite the module; the
    // project's directory may hold a file of that name, and a run refuses it too.
    for (const auto& [dir, whose] : {std::pair{ExtractFileDir(modulePath_), "module's"},
                                     std::pair{projectDir_, "project's"}})
        if (IsSamePath(outputDir_, dir)) {
            prompter_.Show(PromptKind::Error,
                           "The output directory " + DisplayPath(outputDir_) + " is the " + whose +
                               " own directory.  Choose another directory.  Nothing was saved.",
                           PromptButtons::Ok);
            return false;
        }
    return true;
}

bool TCommentor::Save() {
    if (!HasRoutine() || !PrepareOutputDirectory())
        return false;

    // The memo takes the block's place; its topmost heading, if any, becomes the routine in hand.
    const auto start = static_cast<size_t>(blockStart_);
    lines_.erase(lines_.begin() + blockStart_, lines_.begin() + blockEnd_ + 1);
    lines_.insert(lines_.begin() + blockStart_, Memo.Lines.begin(), Memo.Lines.end());
    ++linesRevision_;
    const auto heading = std::find_if(Memo.Lines.begin(), Memo.Lines.end(),
                                      [](const std::string& text) { return IsCommentorHeading(text); });
    if (heading != Memo.Lines.end())
        current_ = static_cast<int>(start + static_cast<size_t>(heading - Memo.Lines.begin()));
    // Line 0 never belongs to a block, so lines remain; a memo that lost lines may leave Current past them.
    current_ = std::min(current_, static_cast<int>(lines_.size()) - 1);
    ShowRoutine();

    const std::string file = OutputFile();
    if (!WriteTextLinesAtomic(file, lines_)) {
        // The edits are in the lines and the view but in no file: the memo stays marked, so leaving the
        // routine or the window asks again.
        Memo.Edited = true;
        prompter_.Show(PromptKind::Error,
                       "Unable to save " + DisplayPath(file) + ".  The edits are not saved.",
                       PromptButtons::Ok);
        return false;
    }
    Memo.Edited = false;
    prompter_.Show(PromptKind::Information, "File saved as: " + DisplayPath(file) + ".", PromptButtons::Ok);
    return true;
}

} // namespace kemptor
