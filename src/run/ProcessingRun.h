#pragma once
// A processing run: every selected file of the open project through the formatting engine into the
// output directory, after the backup step and the optional check log. The GUI's Begin Processing
// command, the command line's `process` and the tests all run it; windows, questions and the preview go
// through the RunObserver and the Prompter.
//
// The run never writes, renames or deletes a file of the project itself: it refuses an output directory
// that is the project's own, never saves or copies over a file the project names, and after a cancel it
// deletes only the files it created.

#include "formatter/HeaderTemplates.h"
#include "run/CheckLog.h"
#include "run/GuardedFormat.h"

#include <functional>
#include <optional>
#include <string>

namespace kemptor {

class TSourceMgt;
struct Settings;
class Prompter;
class RunObserver;

enum class BackupMode {
    NewFilesOnly, // "Only create new files"
    ProjectFiles, // "Copy all files in the .Mak file (including .FRX's)"
    AllFiles,     // "Copy all files in the original directory"
};
BackupMode BackupModeOf(const Settings& settings);

enum class RunOutcome {
    NothingToRun, // no project, or a project without files
    Completed,    // every selected file was taken through
    Cancelled,    // the user cancelled (processing window, preview or Ctrl+C)
    Refused,      // the output directory is the project's own directory, or has no place on this host
    BackupFailed, // the output directory could not be created or is not writable
    SaveFailed,   // a formatted file could not be written; the run stopped there
};

struct RunSummary {
    RunOutcome outcome = RunOutcome::NothingToRun;
    std::string outputDir;
    int formatted = 0; // files formatted and saved
    int changed = 0;   // of those, files whose text the engine changed
    int skipped = 0;   // selected files left unformatted (unreadable, too large, binary, named like a
                       // project file, the project file itself or the check log, or refused by the
                       // code check)
    int refused = 0;   // of those, files whose formatted text did not keep the code
    int failed = 0;    // copies that could not be made and a check log that could not be written
};

// The end message of a run: "Conversion Completed.", followed by how many files were skipped or failed
// when there were any.
std::string CompletedText(const RunSummary& summary);

// The run over every entry of the model (RunProject): prepares the output directory, writes the check
// log when asked, formats, previews and saves each selected file, handles a cancel. Every problem is
// reported through the prompter inside it; the summary is for front ends that report figures.
// `templates` are the header templates in force (the Options dialog's, or those the settings' template
// files give). A formatted file whose code differs from the original's is not saved: a warning names
// it and the first differing line, and the run goes on with the next file. `tamper` is the tests' seam
// into the formatted text before that check.
RunSummary RunProject(TSourceMgt* model, const Settings& settings, const HeaderTemplates& templates,
                      Prompter& prompter, RunObserver& observer,
                      const std::function<std::string()>& now = CurrentDateTimeText,
                      const OutputTamper& tamper = {});

// The Begin Processing command without its window (btnProcessClick): asks "Process all selected
// files?", clears the cancel flag, runs, and shows "Conversion Completed." after every run, whatever its
// outcome. std::nullopt when the user answered No.
std::optional<RunSummary> ProcessSelectedFiles(TSourceMgt* model, const Settings& settings,
                                               const HeaderTemplates& templates, Prompter& prompter,
                                               RunObserver& observer,
                                               const std::function<std::string()>& now = CurrentDateTimeText,
                                               const OutputTamper& tamper = {});

} // namespace kemptor
