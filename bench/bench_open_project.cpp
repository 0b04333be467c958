// Opening a generated VBP project of 2,000 source files of 500 lines each: once with the names written
// as they are on disk, once written in upper case (every name found by the case-insensitive lookup).
// Target: under 1 s.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "platform/Prompter.h"
#include "project/ProjectReader.h"

namespace {

constexpr int kFiles = 2000;
constexpr int kLinesPerFile = 500;

std::string MakeSource(int index) {
    std::string text = "Attribute VB_Name = \"Mod" + std::to_string(index) + "\"\r\nOption Explicit\r\n";
    for (int i = 2; i < kLinesPerFile; ++i)
        text += (i % 10 == 0) ? "Public Sub Routine" + std::to_string(i) + "(ByVal Value As Long)\r\n"
                              : "    Total = Total + Value * " + std::to_string(i) + " ' running sum\r\n";
    return text;
}

std::string Generate(const std::filesystem::path& dir, bool upperCaseNames) {
    std::filesystem::create_directories(dir / "Forms");
    std::string vbp =
        "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n";
    for (int i = 0; i < kFiles; ++i) {
        const bool form = i % 4 == 0;
        std::string name =
            form ? "Forms/frmView" + std::to_string(i) + ".frm" : "modCalc" + std::to_string(i) + ".bas";
        std::ofstream(dir / name, std::ios::binary) << MakeSource(i);
        std::string written = form ? "Forms\\frmView" + std::to_string(i) + ".frm" : name;
        if (upperCaseNames)
            std::transform(written.begin(), written.end(), written.begin(), ::toupper);
        vbp += form ? "Form=" + written + "\r\n"
                    : "Module=modCalc" + std::to_string(i) + "; " + written + "\r\n";
    }
    vbp += "Startup=\"Sub Main\"\r\nName=\"Bench\"\r\n";
    const auto path = dir / (upperCaseNames ? "Upper.vbp" : "Bench.vbp");
    std::ofstream(path, std::ios::binary) << vbp;
    return path.string();
}

double CpuMilliseconds() {
    rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Wall-clock and CPU milliseconds of one OpenProject (the machine may be shared: CPU time is the steadier).
std::pair<double, double> OpenMilliseconds(const std::string& path, int& files) {
    kemptor::ScriptedPrompter prompter;
    kemptor::ProjectReaderObserver observer;
    std::unique_ptr<kemptor::TSourceMgt> project;
    const double cpuStart = CpuMilliseconds();
    auto start = std::chrono::steady_clock::now();
    bool ok = kemptor::OpenProject(path, project, observer, prompter);
    auto end = std::chrono::steady_clock::now();
    files = ok ? project->FileCount() : 0;
    return {std::chrono::duration<double, std::milli>(end - start).count(), CpuMilliseconds() - cpuStart};
}

} // namespace

int main() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kemptor-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path dir = pattern;
    int status = 0;
    for (bool upper : {false, true}) {
        const std::string path = Generate(dir / (upper ? "upper" : "exact"), upper);
        std::vector<std::pair<double, double>> times;
        int files = 0;
        for (int run = 0; run < 3; ++run)
            times.push_back(OpenMilliseconds(path, files));
        std::sort(times.begin(), times.end());
        std::printf(
            "open_project %d files x %d lines, names %s: median %.0f ms wall, %.0f ms CPU; best %.0f ms wall "
            "(%d files read)\n",
            kFiles, kLinesPerFile, upper ? "in upper case" : "as on disk", times[1].first, times[1].second,
            times[0].first, files);
        if (files != kFiles)
            status = 1;
    }
    std::filesystem::remove_all(dir);
    return status;
}
