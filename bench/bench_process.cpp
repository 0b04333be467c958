// Times a whole processing run on a generated project of 500 files and 500,000 lines in the backup mode
// "project files", and shows where the time goes.
//   bench_process            generate the project in a scratch directory, run, remove it
//   bench_process DIR        generate into DIR and keep it (for timing `kemptor-cli process` by hand)
// When kemptor-cli is found beside the build (../src/kemptor-cli), the same run is also timed through it,
// and so is `kemptor-cli check` of the project, and of a fresh copy of the sources given as a project and
// as a directory (each twice, alternating).
#include "formatter/TVBSrcFormatter.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/ProjectReader.h"
#include "project/TSourceMgt.h"
#include "run/ProcessingRun.h"
#include "run/RunObserver.h"
#include "settings/SettingsCatalogue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFiles = 500;
constexpr int kLinesPerFile = 1000;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// One procedure of unformatted Visual Basic: blocks, declarations, comments, a continuation.
void AppendProcedure(std::vector<std::string>& out, int n, std::mt19937& rng) {
    out.push_back("' Updates the totals of record " + std::to_string(n));
    out.push_back("Public Function Compute" + std::to_string(n) + "(ByVal count As Long) As Long");
    out.push_back("Dim i As Long, total As Long");
    out.push_back("Dim name As String");
    out.push_back("total = 0");
    out.push_back("For i = 1 To count");
    out.push_back("If i Mod 2 = 0 Then");
    out.push_back("total = total + i   ' even");
    out.push_back("ElseIf i Mod 3 = 0 Then");
    out.push_back("total = total - 1");
    out.push_back("Else");
    out.push_back("Select Case i");
    out.push_back("Case 1");
    out.push_back("name = \"one\"");
    out.push_back("Case Else");
    out.push_back("name = \"many\" & _");
    out.push_back("\"items\"");
    out.push_back("End Select");
    out.push_back("End If");
    out.push_back("Next i");
    out.push_back("Do While total > " + std::to_string(rng() % 1000));
    out.push_back("total = total \\ 2");
    out.push_back("Loop");
    out.push_back("With Screen");
    out.push_back(".MousePointer = 0");
    out.push_back("End With");
    out.push_back("Compute" + std::to_string(n) + " = total");
    out.push_back("End Function");
    out.push_back("");
}

std::vector<std::string> SourceFile(int index, const std::string& kind, std::mt19937& rng) {
    std::vector<std::string> lines;
    if (kind == "Form") {
        lines = {"VERSION 5.00",
                 "Begin VB.Form frm" + std::to_string(index),
                 "   Caption         =   \"Form\"",
                 "   ClientHeight    =   3195",
                 "End",
                 "Attribute VB_Name = \"frm" + std::to_string(index) + "\""};
    } else if (kind == "Class") {
        lines = {"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
                 "Attribute VB_Name = \"cls" + std::to_string(index) + "\""};
    } else {
        lines = {"Attribute VB_Name = \"mod" + std::to_string(index) + "\""};
    }
    lines.push_back("Option Explicit");
    lines.push_back("");
    for (int n = 0; static_cast<int>(lines.size()) < kLinesPerFile; ++n)
        AppendProcedure(lines, n, rng);
    lines.resize(kLinesPerFile);
    lines.back() = "";
    return lines;
}

void WriteCrLf(const fs::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines)
        out << line << "\r\n";
}

// The generated project; returns the path of its .VBP file.
std::string Generate(const fs::path& dir) {
    fs::create_directories(dir);
    std::mt19937 rng(42);
    std::vector<std::string> project{"Type=Exe"};
    for (int i = 0; i < kFiles; ++i) {
        const char* kind = i % 10 == 0 ? "Form" : i % 10 == 1 ? "Class" : "Module";
        std::string name;
        if (std::string(kind) == "Form") {
            name = "frm" + std::to_string(i) + ".frm";
            project.push_back("Form=" + name);
            std::ofstream(dir / ("frm" + std::to_string(i) + ".frx"), std::ios::binary)
                << std::string(2048, '\1');
        } else if (std::string(kind) == "Class") {
            name = "cls" + std::to_string(i) + ".cls";
            project.push_back("Class=cls" + std::to_string(i) + "; " + name);
        } else {
            name = "mod" + std::to_string(i) + ".bas";
            project.push_back("Module=mod" + std::to_string(i) + "; " + name);
        }
        WriteCrLf(dir / name, SourceFile(i, kind, rng));
    }
    project.push_back("Startup=\"Sub Main\"");
    WriteCrLf(dir / "Bench.vbp", project);
    return (dir / "Bench.vbp").string();
}

class QuietPrompter : public kemptor::Prompter {
public:
    kemptor::PromptAnswer Show(kemptor::PromptKind, const std::string& text,
                               kemptor::PromptButtons) override {
        if (text != "Conversion Completed.")
            std::fprintf(stderr, "message: %s\n", text.c_str());
        return kemptor::PromptAnswer::Yes;
    }
};

// Splits the run into its phases by the windows it shows.
class PhaseObserver : public kemptor::RunObserver {
public:
    void ShowWindow(kemptor::RunWindow window) override { shown_ = Clock::now(), window_ = window; }
    void HideWindow(kemptor::RunWindow window) override {
        (window == kemptor::RunWindow::Copy ? copy : processing) += Seconds(shown_);
    }
    double copy = 0;
    double processing = 0;

private:
    Clock::time_point shown_;
    kemptor::RunWindow window_{};
};

} // namespace

int main(int argc, char** argv) {
    const bool keep = argc > 1;
    const fs::path root = keep ? fs::path(argv[1]) : fs::temp_directory_path() / "kemptor-bench-process";
    if (!keep)
        fs::remove_all(root);
    auto start = Clock::now();
    const std::string vbp = Generate(root);
    std::printf("generated %d files, %d lines in %.2f s\n", kFiles, kFiles * kLinesPerFile, Seconds(start));

    kemptor::Settings settings;
    settings.PreviewBeforeSaving = false;
    QuietPrompter prompter;

    start = Clock::now();
    kemptor::ProjectReaderObserver reader;
    std::unique_ptr<kemptor::TSourceMgt> model;
    const bool opened = kemptor::OpenProject(vbp, model, reader, prompter);
    const double open = Seconds(start);
    if (!opened) {
        std::fprintf(stderr, "the generated project did not open\n");
        return 1;
    }

    PhaseObserver observer;
    start = Clock::now();
    const auto summary =
        kemptor::RunProject(model.get(), settings, kemptor::DefaultHeaderTemplates(), prompter, observer);
    const double run = Seconds(start);
    std::printf("in process: open %.3f s, run %.3f s (backup copies %.3f s, formatting and saving %.3f s), "
                "%d files formatted, %d changed\n",
                open, run, observer.copy, observer.processing, summary.formatted, summary.changed);

    // The formatting phase, split into reading, the engine and writing.
    double read = 0, format = 0, write = 0;
    kemptor::TVBSrcFormatter engine(settings, prompter);
    kemptor::RunObserver quiet;
    for (const auto& name : kemptor::ListDirectoryFiles(root.string())) {
        const std::string ext = kemptor::ExtractUpperExtension(name);
        if (ext != ".BAS" && ext != ".CLS" && ext != ".FRM")
            continue;
        auto t = Clock::now();
        auto lines = kemptor::ReadTextLines((root / name).string());
        read += Seconds(t);
        t = Clock::now();
        engine.FormatFile(*lines, name, kemptor::TSourceKind::skModule, quiet);
        format += Seconds(t);
        t = Clock::now();
        kemptor::WriteTextLinesAtomic((root / "STYLED" / name).string(), engine.OutputLines.Texts());
        write += Seconds(t);
    }
    std::printf("phases alone: read %.3f s, engine %.3f s, write %.3f s\n", read, format, write);

    const fs::path cli = fs::path(argv[0]).parent_path() / ".." / "src" / "kemptor-cli";
    if (fs::exists(cli)) {
        const fs::path config = root / "config";
        fs::create_directories(config);
        const std::string command = "KEMPTOR_CONFIG_DIR=" + config.string() + " " + cli.string() +
                                    " process --set General.PreviewBeforeSaving=0 " + vbp + " 2>/dev/null";
        start = Clock::now();
        const int status = std::system(command.c_str());
        std::printf("kemptor-cli process end to end: %.3f s (exit %d)\n", Seconds(start), status);

        // The repository check of the same project: formats every file in memory, writes nothing (exit
        // status 1: files would change). Its target is two seconds for this project.
        const std::string check = "KEMPTOR_CONFIG_DIR=" + config.string() + " " + cli.string() + " check " +
                                  vbp + " >/dev/null 2>&1";
        start = Clock::now();
        const int checked = std::system(check.c_str());
        std::printf("kemptor-cli check end to end: %.3f s (exit %d)\n", Seconds(start), checked);

        // The same sources checked as a directory (the sources below it listed, then checked) and as a
        // project, on a fresh copy that holds nothing else: the directory must be no slower.
        const fs::path tree = root / "tree";
        const std::string treeVbp = Generate(tree);
        const std::string prefix = "KEMPTOR_CONFIG_DIR=" + config.string() + " " + cli.string() + " check ";
        for (const std::string& what : {treeVbp, tree.string(), treeVbp, tree.string()}) {
            start = Clock::now();
            const int exit = std::system((prefix + what + " >/dev/null 2>&1").c_str());
            std::printf("kemptor-cli check of the %s: %.3f s (exit %d)\n",
                        what == treeVbp ? "project  " : "directory", Seconds(start), exit);
        }
    }
    if (!keep)
        fs::remove_all(root);
    return 0;
}
