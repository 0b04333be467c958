// The project measures on a generated VBP project of 2,000 files of 500 lines each (1,000,000 lines):
// each of the seven measures alone, as one chart computes it, and all seven at once, as
// `kemptor-cli metrics` computes them (each file read once). Target: under 1 s for all seven.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "metrics/ProjectMetrics.h"
#include "platform/Prompter.h"
#include "project/ProjectReader.h"

namespace {

constexpr int kFiles = 2000;
constexpr int kLinesPerFile = 500;

// A module with headings, globals, comments, blank lines and literals in the shares real code has.
std::string MakeSource(int index) {
    std::string text = "Attribute VB_Name = \"Mod" + std::to_string(index) + "\"\r\nOption Explicit\r\n";
    for (int i = 2; i < kLinesPerFile; ++i) {
        switch (i % 10) {
        case 0:
            text +=
                "Public Static Sub Routine" + std::to_string(i) + "(ByVal Value As Long, Name As String)\r\n";
            break;
        case 1:
            text += "Global gTable" + std::to_string(i) + "(1 To 10, 2) As Long, gName As String\r\n";
            break;
        case 2:
            text += "' Adds the value to the running total, \"as before\"\r\n";
            break;
        case 3:
            text += "\r\n";
            break;
        default:
            text += "    Total = Total + Value * " + std::to_string(i) + " ' running sum, \"quoted\"\r\n";
        }
    }
    return text;
}

std::string Generate(const std::filesystem::path& dir) {
    std::string vbp = "Type=Exe\r\n";
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "modCalc" + std::to_string(i) + ".bas";
        std::ofstream(dir / name, std::ios::binary) << MakeSource(i);
        vbp += "Module=modCalc" + std::to_string(i) + "; " + name + "\r\n";
    }
    const auto path = dir / "Bench.vbp";
    std::ofstream(path, std::ios::binary) << vbp;
    return path.string();
}

template <class F> double Milliseconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kemptor-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path dir = pattern;
    const std::string vbp = Generate(dir);

    kemptor::ScriptedPrompter prompter;
    kemptor::ProjectReaderObserver observer;
    std::unique_ptr<kemptor::TSourceMgt> project;
    int status = 0;
    if (!kemptor::OpenProject(vbp, project, observer, prompter)) {
        std::printf("could not open the generated project\n");
        status = 1;
    } else {
        std::printf("project: %d files, %d lines each\n", project->FileCount(), kLinesPerFile);
        long long checksum = 0;
        double single = 0;
        for (kemptor::TMeasure measure : kemptor::kAllMeasures) {
            const double ms = Milliseconds([&] {
                for (const auto& point : kemptor::MeasurePoints(*project, measure))
                    checksum += static_cast<long long>(point.Value);
            });
            single += ms;
            std::printf("  %-10s %8.1f ms\n", std::string(kemptor::MeasureName(measure)).c_str(), ms);
        }
        std::printf("seven charts one after another: %.1f ms\n", single);
        const double all = Milliseconds([&] {
            for (const auto& result : kemptor::AllMeasurePoints(*project))
                for (const auto& point : result.Points)
                    checksum += static_cast<long long>(point.Value);
        });
        std::printf("all seven at once (kemptor-cli metrics): %.1f ms (target < 1000 ms) %s\n", all,
                    all < 1000 ? "ok" : "SLOW");
        std::printf("(checksum %lld)\n", checksum);
        if (all >= 1000)
            status = 1;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return status;
}
