#pragma once
// Helpers of the run tests: file contents, a snapshot of a directory tree, and an
// observer that records what the run shows and cancels where a test asks it to.

#include "run/RunObserver.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kemptor::test {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes);
std::string ReadFile(const fs::path& path);
// Names of the ordinary files directly in a directory, sorted.
std::vector<std::string> FileNames(const fs::path& dir);

// Every file below a directory with its contents, size, permissions and modification time; two
// snapshots are equal when nothing was written, renamed, created or deleted.
struct FileState {
    std::string bytes;
    fs::perms perms;
    fs::file_time_type mtime;
    bool operator==(const FileState&) const = default;
};
using TreeSnapshot = std::map<std::string, FileState>;
// Sub-folders named in `skip` (relative to `dir`) are left out.
TreeSnapshot Snapshot(const fs::path& dir, const std::vector<std::string>& skip = {});

// Records the run's windows, captions and preview calls; cancels when `cancelWhen` says so.
class RecordingObserver : public RunObserver {
public:
    struct PreviewCall {
        std::string fileName;
        TextLines before;
        TextLines after;
        std::vector<bool> changed;
    };

    void RunStarting() override { events.push_back("starting"); }
    void RunFinishing() override { events.push_back("finishing"); }
    void ShowWindow(RunWindow window) override { events.push_back(std::string("show ") + Name(window)); }
    void HideWindow(RunWindow window) override { events.push_back(std::string("hide ") + Name(window)); }
    void SetCaption(const std::string& caption) override;
    void LineDone() override;
    PreviewAnswer Preview(const std::string& fileName, const TextLines& before, const TextLines& after,
                          const std::vector<bool>& changed) override;

    // Cancels at the `line`-th LineDone (counted from 1) after the caption `caption` was shown.
    void CancelAt(const std::string& caption, int line) {
        cancelCaption_ = caption;
        cancelLine_ = line;
    }
    // Answers the preview of this file with "Cancel processing".
    void CancelInPreviewOf(const std::string& fileName) { cancelPreview_ = fileName; }

    // Called at each preview before it is answered (a test looks at the output directory there).
    std::function<void(const std::string& fileName)> onPreview;

    std::vector<std::string> captions;
    std::vector<std::string> events;
    std::vector<PreviewCall> previews;

private:
    static const char* Name(RunWindow window) { return window == RunWindow::Copy ? "copy" : "processing"; }

    std::string cancelCaption_;
    int cancelLine_ = 0;
    int linesSinceCaption_ = 0;
    bool armed_ = false;
    std::string cancelPreview_;
};

} // namespace kemptor::test
